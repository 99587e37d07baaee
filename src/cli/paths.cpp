#include "cli/paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "base/sjis.h"
#include "env/host_env.h"

namespace ostra {

namespace fs = std::filesystem;

bool LooksDriveForm(const std::string& arg) {
  size_t i = arg.find_first_not_of(' ');
  return i != std::string::npos && i + 1 < arg.size() &&
         std::isalpha(static_cast<unsigned char>(arg[i])) && arg[i + 1] == ':';
}

std::string PathArgumentProblem(const std::string& arg) {
  if (LooksDriveForm(arg)) return std::string();
  if (arg.rfind("\\\\", 0) == 0 || arg.rfind("//", 0) == 0) {
    return "ネットワークのパス「" + arg +
           "」は使えません。ドライブに割り当てて、ドライブ形式（D:\\WORK\\B-1）で指定して"
           "ください（Linux では --drive D=DIR）";
  }
#ifdef _WIN32
  const bool drivePart = arg.find(':') != std::string::npos;
#else
  // A backslash is no separator here: the text was meant as a drive-form path.
  const bool drivePart = arg.find('\\') != std::string::npos;
#endif
  if (drivePart) {
    return "パス「" + arg +
           "」はドライブ形式（英字 1 文字と「:」。例: D:\\WORK\\B-1）でもこのシステムのパスでも"
           "ありません。ドライブは --drive L=DIR で割り当てられます";
  }
  return std::string();
}

std::optional<Text> DriveFormOf(const DriveMap& drives, const std::string& arg) {
#ifdef _WIN32
  // Windows takes "/" as a separator too ("C:/work/B-1"); the run's paths use "\" only.
  Text w = FromUtf8(arg);
  std::replace(w.begin(), w.end(), u'/', u'\\');
  if (LooksDriveForm(arg)) return w;
  return drives.ToDriveForm(fs::path(std::wstring(w.begin(), w.end())));
#else
  if (LooksDriveForm(arg)) return FromUtf8(arg);
  return drives.ToDriveForm(fs::path(arg));
#endif
}

Text ComparableDriveForm(const DriveMap& drives, const Text& path) {
  Text p = Trim(path);
  if (p.size() >= 2 && p[1] == u':') {
    if (const std::optional<fs::path> root = drives.Root(p[0])) {
      Text rest = p.substr(2);
      std::replace(rest.begin(), rest.end(), u'\\', u'/');
      while (!rest.empty() && rest.front() == u'/') rest.erase(0, 1);
      if (std::optional<Text> named =
              drives.ToDriveForm((*root / HostPath(rest)).lexically_normal()))
        p = *named;
    }
  }
  p = UpperAscii(p);
  const size_t colon = p.find(u':');
  const Text drive = colon == Text::npos ? Text() : p.substr(0, colon + 1);
  std::vector<Text> levels;
  size_t start = drive.size();
  while (start <= p.size()) {
    size_t end = p.find_first_of(u"\\/", start);
    if (end == Text::npos) end = p.size();
    const Text level = p.substr(start, end - start);
    if (level == u"..") {
      if (!levels.empty()) levels.pop_back();
    } else if (!level.empty() && level != u".") {
      levels.push_back(level);
    }
    start = end + 1;
  }
  Text out = drive;
  for (const Text& level : levels) out += u"\\" + level;
  return out;
}

bool IsMdtFileName(const Text& path) {
  const size_t slash = path.find_last_of(u"\\:");
  const Text name = Trim(slash == Text::npos ? path : path.substr(slash + 1));
  if (name.empty()) return true;  // no file named: the run says that none is chosen
  return UpperAscii(name).rfind(u"MDT", 0) == 0;
}

}  // namespace ostra
