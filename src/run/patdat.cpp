#include "run/patdat.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "env/drives.h"
#include "env/files.h"

namespace ostra {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxDepth = 64;  // guards against link loops

Text FoldCase(Text t) {
  for (char16_t& c : t) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return t;
}

// Names of the subfolders of a folder, in a stable order (by name, ignoring letter case).
std::vector<Text> SubfolderNames(const Text& folder) {
  std::vector<Text> names;
  std::error_code ec;
  fs::path host;
  try {
    host = DriveMap::Instance().ToHost(folder);
  } catch (const FileError&) {
    return names;
  }
  fs::directory_iterator it(host, ec);
  if (ec) return names;
  for (const fs::directory_entry& e : it) {
    std::error_code ec2;
    if (e.is_directory(ec2) && !e.is_symlink(ec2)) names.push_back(HostText(e.path().filename()));
  }
  std::sort(names.begin(), names.end(), [](const Text& a, const Text& b) {
    Text fa = FoldCase(a), fb = FoldCase(b);
    return fa != fb ? fa < fb : a < b;
  });
  return names;
}

void Walk(const Text& folder, std::int16_t& hitCount, std::vector<Text>& hits, const Text& fileName,
          UiPort* ui, int depth) {
  if (ui != nullptr) ui->ProcessEvents();
  if (FileSize(folder + fileName) >= 1) {
    ++hitCount;
    hits.push_back(folder + u"\\");
  }
  if (depth >= kMaxDepth) return;
  for (const Text& name : SubfolderNames(folder)) {
    if (name == u"." || name == u"..") continue;
    Walk(folder + u"\\" + name, hitCount, hits, fileName, ui, depth + 1);
  }
}

}  // namespace

void SearchPatdatTree(const Text& folder, std::int16_t& hitCount, std::vector<Text>& hits,
                      const Text& fileName, UiPort* ui) {
  if (!FolderExists(folder)) return;
  Walk(folder, hitCount, hits, fileName, ui, 0);
}

Text FindPatdat(UiPort* ui) {
  Text a = ProgramFolder();
  if (!a.empty()) {
    if (a.back() != u'\\') a += u"\\";
    if (FileSize(a + u"PATDAT\\kishitu.txt") >= 1) return a + u"PATDAT\\";
  }
  std::vector<char16_t> letters;
  if (!a.empty()) letters.push_back(DriveLetterOf(a));
  for (char16_t d = u'A'; d <= u'Z'; ++d) letters.push_back(d);
  for (char16_t d : letters) {
    if (d == 0 || !DriveReady(d)) continue;
    std::int16_t hitCount = 0;
    std::vector<Text> hits;
    Text root;
    root.push_back(d);
    root += u":\\PATDAT";
    SearchPatdatTree(root, hitCount, hits, u"\\kishitu.txt", ui);
    if (hitCount > 0) return hits.front();
  }
  return Text();
}

}  // namespace ostra
