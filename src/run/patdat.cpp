#include "run/patdat.h"

#include <algorithm>

#include "base/sjis.h"
#include "env/drives.h"
#include "env/files.h"

namespace ostra {

namespace {

constexpr int kMaxDepth = 64;  // guards against link loops

// Names of the subfolders of a folder, in a stable order (by name, ignoring letter case).
std::vector<Text> SubfolderNames(Env& env, const Text& folder) {
  std::vector<Text> names;
  for (const FolderEntry& e : env.ListFolder(folder)) {
    if (e.kind == FileKind::kFolder && !e.link) names.push_back(e.name);
  }
  std::sort(names.begin(), names.end(), [](const Text& a, const Text& b) {
    Text fa = UpperAscii(a), fb = UpperAscii(b);
    return fa != fb ? fa < fb : a < b;
  });
  return names;
}

void Walk(Env& env, const Text& folder, std::int16_t& hitCount, std::vector<Text>& hits,
          const Text& fileName, const FolderVisited& visited, int depth) {
  if (visited) visited();
  // A search of whole drives: a folder that cannot be read holds no reference folder.
  std::vector<Text> subfolders;
  try {
    if (env.FileSize(folder + fileName) >= 1) {
      ++hitCount;
      hits.push_back(folder + u"\\");
    }
    if (depth >= kMaxDepth) return;
    subfolders = SubfolderNames(env, folder);
  } catch (const FileError&) {
    return;
  }
  for (const Text& name : subfolders) {
    if (name == u"." || name == u"..") continue;
    Walk(env, folder + u"\\" + name, hitCount, hits, fileName, visited, depth + 1);
  }
}

}  // namespace

void SearchPatdatTree(Env& env, const Text& folder, std::int16_t& hitCount, std::vector<Text>& hits,
                      const Text& fileName, const FolderVisited& visited) {
  if (!env.FolderExists(folder)) return;
  Walk(env, folder, hitCount, hits, fileName, visited, 0);
}

Text FindPatdat(Env& env, const FolderVisited& visited) {
  Text a = env.ProgramFolder();
  if (!a.empty()) {
    if (a.back() != u'\\') a += u"\\";
    try {
      if (env.FileSize(a + u"PATDAT\\kishitu.txt") >= 1) return a + u"PATDAT\\";
    } catch (const FileError&) {
      // Searched for on the drives below.
    }
  }
  std::vector<char16_t> letters;
  if (!a.empty()) letters.push_back(DriveLetterOf(a));
  for (char16_t d = u'A'; d <= u'Z'; ++d) letters.push_back(d);
  for (char16_t d : letters) {
    try {
      if (d == 0 || !DriveReady(env, d)) continue;
    } catch (const FileError&) {
      continue;  // a drive that cannot be read holds no reference folder
    }
    std::int16_t hitCount = 0;
    std::vector<Text> hits;
    Text root;
    root.push_back(d);
    root += u":\\PATDAT";
    SearchPatdatTree(env, root, hitCount, hits, u"\\kishitu.txt", visited);
    if (hitCount > 0) return hits.front();
  }
  return Text();
}

}  // namespace ostra
