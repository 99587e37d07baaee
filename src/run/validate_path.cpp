#include "run/validate_path.h"

#include "base/sjis.h"
#include "env/files.h"

namespace ostra {

const char16_t* const kDriveNameMessage =
    u"規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" "
    u"でなければいけません。  例 \"C:\", \"D:\"...";

namespace {

// Short-name rules for one component: a name part of at most 8 characters before a ".", an
// extension of at most 3 bytes, and no second ".".
bool ComponentOk(const Text& comp) {
  size_t dot = comp.find(u'.');
  if (dot == Text::npos) return true;
  size_t dotPos = dot + 1;  // 1-based
  if (dotPos >= 10) return false;
  if (static_cast<size_t>(ByteLen(comp)) > dotPos + 3) return false;
  if (comp.find(u'.', dot + 1) != Text::npos) return false;
  return true;
}

}  // namespace

PathCheck ValidatePath(Env& env, Text& path) {
  path = Trim(path);
  if (ByteMid(path, 2, 1) != u":") return PathCheck::kNoDriveName;
  if (path.find_first_of(u"*? ") != Text::npos) return PathCheck::kRefused;
  // Control characters (a line feed, a tab ...) name no folder; one would also break CNT.TXT.
  for (char16_t c : path) {
    if (c < 0x20 || c == 0x7F) return PathCheck::kRefused;
  }
  if (path.size() < 2 || path[1] != u':') return PathCheck::kRefused;
  if (path.size() > 2 && path[2] != u'\\') path.insert(2, u"\\");
  if (!DriveReady(env, path[0])) return PathCheck::kRefused;
  if (path.back() != u'\\') path += u"\\";
  if (path.find(u"\\\\") != Text::npos) return PathCheck::kRefused;
  size_t start = 3;
  while (start < path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == Text::npos) break;
    if (!ComponentOk(path.substr(start, end - start))) return PathCheck::kRefused;
    start = end + 1;
  }
  return PathCheck::kAccepted;
}

}  // namespace ostra
