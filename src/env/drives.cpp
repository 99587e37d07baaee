#include "env/drives.h"

#include <cstdlib>
#include <system_error>

#include "base/errors.h"

#ifdef _WIN32
#include "base/windows_api.h"
#endif

namespace ostra {

namespace fs = std::filesystem;

namespace {

char16_t UpperLetter(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
  return c;
}

bool IsLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

#ifndef _WIN32
std::string FoldAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// The entry of `folder` spelled `name` exactly, or else the first one spelled the same but for
// ASCII letter case; empty when there is none.
fs::path FindEntry(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  fs::path exact = folder / name;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  std::string folded = FoldAscii(name);
  fs::directory_iterator it(folder, ec);
  if (ec) return {};
  for (const fs::directory_entry& e : it) {
    if (FoldAscii(e.path().filename().string()) == folded) return e.path();
  }
  return {};
}
#endif

}  // namespace

Text HostText(const fs::path& p) {
#ifdef _WIN32
  std::wstring w = p.wstring();
  return Text(w.begin(), w.end());
#else
  return FromUtf8(p.string());
#endif
}

fs::path HostPath(const Text& text) {
#ifdef _WIN32
  return fs::path(std::wstring(text.begin(), text.end()));
#else
  return fs::path(ToUtf8(text));
#endif
}

DriveMap& DriveMap::Instance() {
  static DriveMap map = [] {
    DriveMap m;
    m.LoadDefaults();
    return m;
  }();
  return map;
}

void DriveMap::Clear() {
  roots_.clear();
}

void DriveMap::LoadDefaults() {
  roots_.clear();
#ifdef _WIN32
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (mask & (1u << i)) {
      wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
      roots_[static_cast<char16_t>(u'A' + i)] = fs::path(root);
    }
  }
  if (const wchar_t* env = _wgetenv(L"OSTRACONV_DRIVES")) {
    std::wstring w(env);
    AddSpec(ToUtf8(Text(w.begin(), w.end())));
  }
#else
  roots_[u'Z'] = fs::path("/");
  if (const char* env = std::getenv("OSTRACONV_DRIVES")) AddSpec(env);
#endif
}

void DriveMap::Set(char16_t letter, const fs::path& root) {
  roots_[UpperLetter(letter)] = root;
}

void DriveMap::Remove(char16_t letter) {
  roots_.erase(UpperLetter(letter));
}

bool DriveMap::AddSpec(const std::string& spec) {
  bool ok = true;
  size_t start = 0;
  while (start <= spec.size()) {
    size_t end = spec.find(';', start);
    if (end == std::string::npos) end = spec.size();
    std::string entry = spec.substr(start, end - start);
    start = end + 1;
    if (entry.empty()) continue;
    size_t eq = entry.find('=');
    std::string letter = entry.substr(0, eq == std::string::npos ? 0 : eq);
    if (letter.size() == 2 && letter[1] == ':') letter.pop_back();
    if (eq == std::string::npos || letter.size() != 1 || !IsLetter(letter[0]) ||
        eq + 1 >= entry.size()) {
      ok = false;
      continue;
    }
#ifdef _WIN32
    // The mapping text is UTF-8 on every system; Windows paths are UTF-16.
    Text folder = FromUtf8(entry.substr(eq + 1));
    Set(static_cast<char16_t>(letter[0]), fs::path(std::wstring(folder.begin(), folder.end())));
#else
    Set(static_cast<char16_t>(letter[0]), fs::path(entry.substr(eq + 1)));
#endif
  }
  return ok;
}

std::optional<fs::path> DriveMap::Root(char16_t letter) const {
  auto it = roots_.find(UpperLetter(letter));
  if (it == roots_.end()) return std::nullopt;
  return it->second;
}

std::vector<char16_t> DriveMap::Letters() const {
  std::vector<char16_t> out;
  for (const auto& [letter, root] : roots_) out.push_back(letter);
  return out;
}

fs::path DriveMap::ToHost(const Text& drivePath) const {
  char16_t letter = DriveLetterOf(drivePath);
  std::optional<fs::path> root = letter ? Root(letter) : std::nullopt;
  if (!root) throw MakeFileError(FileError::kPathNotFound, drivePath, u"開けません");
#ifdef _WIN32
  // The system's own drives map to themselves ("C:\\" is "C:\\"), so this is the identity for
  // them; a letter mapped to a folder works like a substituted drive. The system finds names
  // whatever their letter case.
  size_t start = drivePath.find_first_not_of(u'\\', 2);
  if (start == Text::npos) return *root;
  std::wstring rest(drivePath.begin() + static_cast<std::ptrdiff_t>(start), drivePath.end());
  return *root / fs::path(rest);
#else
  fs::path host = *root;
  bool exists = true;  // while the path so far exists, look for case variants
  size_t pos = 2;
  while (pos <= drivePath.size()) {
    size_t end = drivePath.find(u'\\', pos);
    if (end == Text::npos) end = drivePath.size();
    Text comp = drivePath.substr(pos, end - pos);
    pos = end + 1;
    if (comp.empty() || comp == u".") continue;
    std::string name = ToUtf8(comp);
    if (comp == u"..") {
      host = host.parent_path();
      continue;
    }
    if (exists) {
      fs::path found = FindEntry(host, name);
      if (!found.empty()) {
        host = found;
        continue;
      }
      exists = false;
    }
    host /= name;
  }
  return host;
#endif
}

std::optional<Text> DriveMap::ToDriveForm(const fs::path& host) const {
  std::error_code ec;
  fs::path abs = fs::absolute(host, ec);
  if (ec) return std::nullopt;
  abs = abs.lexically_normal();
  std::optional<char16_t> best;
  size_t bestLen = 0;
  fs::path bestRest;
  for (const auto& [letter, root] : roots_) {
    fs::path r = fs::absolute(root, ec).lexically_normal();
    if (ec) continue;
    fs::path rel = abs.lexically_relative(r);
    if (rel.empty() || *rel.begin() == "..") continue;
    size_t len = std::distance(r.begin(), r.end());
    if (!best || len > bestLen) {
      best = letter;
      bestLen = len;
      bestRest = rel;
    }
  }
  if (!best) return std::nullopt;
  Text out;
  out.push_back(*best);
  out += u":";
  for (const fs::path& part : bestRest) {
    Text s = HostText(part);
    if (s.empty() || s == u"." || s == u"/") continue;
    out += u"\\";
    out += s;
  }
  if (out.size() == 2) out += u"\\";
  return out;
}

char16_t DriveLetterOf(const Text& drivePath) {
  if (drivePath.size() >= 2 && IsLetter(drivePath[0]) && drivePath[1] == u':') {
    return UpperLetter(drivePath[0]);
  }
  return 0;
}

bool DriveReady(char16_t letter) {
  std::optional<fs::path> root = DriveMap::Instance().Root(letter);
  if (!root) return false;
  std::error_code ec;
  return fs::is_directory(*root, ec);
}

}  // namespace ostra
