#include "run/patdat.h"

#include <algorithm>

#include "base/drive_path.h"
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

void Walk(Env& env, const DrivePath& folder, std::vector<Text>& hits, const Text& fileName,
          const FolderVisited& visited, int depth) {
  if (visited) visited();
  // A search of whole drives: a folder that cannot be read holds no reference folder.
  std::vector<Text> subfolders;
  try {
    if (env.FileSize(folder.Join(fileName)) >= 1) hits.push_back(folder.Folder());
    if (depth >= kMaxDepth) return;
    subfolders = SubfolderNames(env, folder.AsText());
  } catch (const FileError&) {
    return;
  }
  for (const Text& name : subfolders) {
    if (name == u"." || name == u"..") continue;
    Walk(env, folder.Child(name), hits, fileName, visited, depth + 1);
  }
}

}  // namespace

std::vector<Text> SearchPatdatTree(Env& env, const Text& folder, const Text& fileName,
                                   const FolderVisited& visited) {
  std::vector<Text> hits;
  if (env.FolderExists(folder)) Walk(env, DrivePath(folder), hits, fileName, visited, 0);
  return hits;
}

Text FindPatdat(Env& env, const FolderVisited& visited) {
  const DrivePath a(env.ProgramFolder());
  if (!a.Empty()) {
    const DrivePath beside = a.Child(u"PATDAT");
    try {
      if (env.FileSize(beside.Join(u"kishitu.txt")) >= 1) return beside.Folder();
    } catch (const FileError&) {
      // Searched for on the drives below.
    }
  }
  std::vector<char16_t> letters;
  if (!a.Empty()) letters.push_back(DriveLetterOf(a.AsText()));
  for (char16_t d = u'A'; d <= u'Z'; ++d) letters.push_back(d);
  for (char16_t d : letters) {
    try {
      if (d == 0 || !DriveReady(env, d)) continue;
    } catch (const FileError&) {
      continue;  // a drive that cannot be read holds no reference folder
    }
    Text root;
    root.push_back(d);
    root += u":\\PATDAT";
    const std::vector<Text> hits = SearchPatdatTree(env, root, u"kishitu.txt", visited);
    if (!hits.empty()) return hits.front();
  }
  return Text();
}

}  // namespace ostra
