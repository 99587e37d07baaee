#include "app/selectors.h"

#include <algorithm>

#include "base/drive_path.h"
#include "base/errors.h"
#include "env/host_env.h"

namespace ostra {

namespace {

char16_t FoldChar(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

Text Fold(Text t) {
  for (char16_t& c : t) c = FoldChar(c);
  return t;
}

void SortNames(std::vector<Text>& names) {
  std::sort(names.begin(), names.end(), [](const Text& a, const Text& b) {
    Text fa = Fold(a), fb = Fold(b);
    return fa != fb ? fa < fb : a < b;
  });
}

// Entries of a drive-form folder that pass `keep`, by name. Any error gives what was read.
template <typename Keep>
std::vector<Text> ListEntries(Env& env, const Text& folder, Keep keep) {
  std::vector<Text> names;
  try {
    for (const FolderEntry& e : env.ListFolder(folder)) {
      if (e.name.empty() || e.name.front() == u'.') continue;
      if (keep(e)) names.push_back(e.name);
    }
  } catch (const RunError&) {
    // A folder that cannot be read lists nothing: the user picks another.
  }
  SortNames(names);
  return names;
}

bool MatchFrom(const Text& name, size_t n, const Text& pattern, size_t p) {
  while (p < pattern.size()) {
    char16_t pc = pattern[p];
    if (pc == u'*') {
      for (size_t k = n; k <= name.size(); ++k) {
        if (MatchFrom(name, k, pattern, p + 1)) return true;
      }
      return false;
    }
    if (n >= name.size()) return false;
    if (pc != u'?' && FoldChar(pc) != FoldChar(name[n])) return false;
    ++n;
    ++p;
  }
  return n == name.size();
}

}  // namespace

bool FolderReachable(Env& env, const Text& folder) {
  try {
    return env.FolderExists(folder);
  } catch (const RunError&) {
    return false;
  }
}

std::vector<Text> ListSubfolders(Env& env, const Text& folder) {
  return ListEntries(env, folder, [](const FolderEntry& e) { return e.kind == FileKind::kFolder; });
}

std::vector<Text> ListMatchingFiles(Env& env, const Text& folder, const Text& pattern) {
  std::vector<Text> patterns;
  for (size_t start = 0;;) {
    const size_t end = pattern.find(u';', start);
    patterns.push_back(pattern.substr(start, end == Text::npos ? Text::npos : end - start));
    if (end == Text::npos) break;
    start = end + 1;
  }
  return ListEntries(env, folder, [&patterns](const FolderEntry& e) {
    if (e.kind != FileKind::kFile) return false;
    for (const Text& p : patterns) {
      if (MatchesPattern(e.name, p)) return true;
    }
    return false;
  });
}

bool MatchesPattern(const Text& name, const Text& pattern) {
  return MatchFrom(name, 0, pattern, 0);
}

Text JoinPath(const Text& folder, const Text& name) {
  return DrivePath(folder).Join(name);
}

Text DriveLine(const DriveMap& drives, char16_t letter) {
  Text line;
  line.push_back(letter);
  line += u":";
  // The host folder the drive stands for, unless it is the drive itself (Windows: "C:" is C:\).
  if (std::optional<std::filesystem::path> root = drives.Root(letter)) {
    const Text host = HostText(*root);
    if (host.size() > 3 || Fold(host.substr(0, 2)) != Fold(line)) {
      line += u" [" + host + u"]";
    }
  }
  return line;
}

std::vector<Text> DriveLines(const DriveMap& drives) {
  std::vector<Text> lines;
  for (char16_t letter : drives.Letters()) lines.push_back(DriveLine(drives, letter));
  return lines;
}

FolderListing ListFolderRows(Env& env, const Text& folder) {
  FolderListing listing;
  auto add = [&listing](const Text& name, const Text& full, int indent, bool open) {
    listing.rows.push_back({name, indent, open});
    listing.paths.push_back(full);
  };
  // The levels from the root down to the current folder.
  const Text root = folder.substr(0, 2) + u"\\";
  add(root, root, 0, true);
  int depth = 0;
  Text sofar = root;
  size_t pos = 3;
  while (pos < folder.size()) {
    size_t end = folder.find(u'\\', pos);
    if (end == Text::npos) end = folder.size();
    const Text name = folder.substr(pos, end - pos);
    pos = end + 1;
    if (name.empty()) continue;
    sofar = JoinPath(sofar, name);
    add(name, sofar, ++depth, true);
  }
  listing.current = depth;
  for (const Text& name : ListSubfolders(env, folder)) {
    add(name, JoinPath(folder, name), depth + 1, false);
  }
  return listing;
}

}  // namespace ostra
