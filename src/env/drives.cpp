#include "env/drives.h"

#include <system_error>

#include "env/host_env.h"

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

}  // namespace

DriveMap DriveMap::SystemDefaults() {
  DriveMap m;
#ifdef _WIN32
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (mask & (1u << i)) {
      wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
      m.roots_[static_cast<char16_t>(u'A' + i)] = fs::path(root);
    }
  }
#else
  m.roots_[u'Z'] = fs::path("/");
#endif
  return m;
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

}  // namespace ostra
