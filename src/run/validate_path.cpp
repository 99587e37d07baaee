#include "run/validate_path.h"

#include "base/sjis.h"
#include "env/files.h"

namespace ostra {

const char16_t* const kDriveNameMessage =
    u"規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" "
    u"でなければいけません。  例 \"C:\", \"D:\"...";

namespace {

using Rule = PathRefusal::Rule;

// Short-name rules for one component: a name part of at most 8 characters before a ".", an
// extension of at most 3 bytes, and no second ".".
Rule ComponentRule(const Text& comp) {
  size_t dot = comp.find(u'.');
  if (dot == Text::npos) return Rule::kNone;
  size_t dotPos = dot + 1;  // 1-based
  if (dotPos >= 10) return Rule::kNameTooLong;
  if (static_cast<size_t>(ByteLen(comp)) > dotPos + 3) return Rule::kExtensionTooLong;
  if (comp.find(u'.', dot + 1) != Text::npos) return Rule::kTwoDots;
  return Rule::kNone;
}

// The level of `path` (between "\" signs) that holds the character at `at`.
Text LevelAt(const Text& path, size_t at) {
  const size_t from = path.rfind(u'\\', at);
  const size_t begin = from == Text::npos ? 0 : from + 1;
  const size_t end = path.find(u'\\', at);
  return path.substr(begin, end == Text::npos ? Text::npos : end - begin);
}

PathCheck Refuse(PathRefusal* why, Rule rule, Text what = Text(), Text level = Text()) {
  if (why != nullptr) *why = PathRefusal{rule, std::move(what), std::move(level)};
  return PathCheck::kRefused;
}

}  // namespace

PathCheck ValidatePath(Env& env, Text& path, PathRefusal* why) {
  path = Trim(path);
  if (ByteMid(path, 2, 1) != u":") return PathCheck::kNoDriveName;
  if (const size_t at = path.find_first_of(u"*? "); at != Text::npos)
    return Refuse(why, Rule::kCharacter, Text(1, path[at]), LevelAt(path, at));
  // Control characters (a line feed, a tab ...) name no folder; one would also break CNT.TXT.
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] < 0x20 || path[i] == 0x7F)
      return Refuse(why, Rule::kControl, Text(1, path[i]), LevelAt(path, i));
  }
  if (path.size() < 2 || path[1] != u':') return Refuse(why, Rule::kNoDrive);
  if (path.size() > 2 && path[2] != u'\\') path.insert(2, u"\\");
  if (!DriveReady(env, path[0])) return Refuse(why, Rule::kDriveNotReady, path.substr(0, 2));
  if (path.back() != u'\\') path += u"\\";
  if (path.find(u"\\\\") != Text::npos) return Refuse(why, Rule::kEmptyLevel);
  size_t start = 3;
  while (start < path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == Text::npos) break;
    const Text level = path.substr(start, end - start);
    if (const Rule rule = ComponentRule(level); rule != Rule::kNone)
      return Refuse(why, rule, Text(), level);
    start = end + 1;
  }
  return PathCheck::kAccepted;
}

Text PathRefusalText(const PathRefusal& why) {
  const Text level = u"階層「" + why.level + u"」";
  switch (why.rule) {
    case Rule::kNone:
      return Text();
    case Rule::kCharacter: {
      const Text name = why.what == u" " ? Text(u"空白") : u"「" + why.what + u"」";
      return level + u"に" + name + u"があります（パスに空白、「*」、「?」は使えません）。";
    }
    case Rule::kControl: {
      static constexpr char16_t kHex[] = u"0123456789abcdef";
      const char16_t c = why.what.empty() ? 0 : why.what[0];
      const Text code = Text(u"\\x") + kHex[(c >> 4) & 0xF] + kHex[c & 0xF];
      return u"パスに制御文字（" + code + u"）があります。";
    }
    case Rule::kNoDrive:
      return u"パスの先頭にドライブ名（\"D:\" など）がありません。";
    case Rule::kDriveNotReady:
      return u"ドライブ " + why.what + u" は割り当てられていないか、使える状態ではありません。";
    case Rule::kEmptyLevel:
      return u"パスに空の階層（\"\\\\\"）があります。";
    case Rule::kNameTooLong:
      return level + u"のピリオドの前が 8 文字を超えています。";
    case Rule::kExtensionTooLong:
      return level + u"のピリオドの後が 3 バイトを超えています。";
    case Rule::kTwoDots:
      return level + u"にピリオドが 2 つあります。";
  }
  return Text();
}

}  // namespace ostra
