#include "run/run_record.h"

#include <map>

#include "base/sjis.h"
#include "base/text_lines.h"
#include "env/files.h"

namespace ostra {

TableSnapshot Snapshot(Env& env, const Text& path) {
  TableSnapshot s;
  s.exists = env.FileExists(path);
  if (s.exists) s.bytes = env.ReadFile(path);
  return s;
}

namespace {

// The lines a table gained between two of its states: for a table that only grew by whole
// lines at its end (what a registration does), the lines of what was added; otherwise every
// line of `after` that `before` does not hold.
std::vector<Text> Gained(const std::string& before, const std::string& after) {
  if (after.size() > before.size() && (before.empty() || before.back() == '\n') &&
      after.compare(0, before.size(), before) == 0) {
    return SplitLines(DecodeCp932(std::string_view(after).substr(before.size())));
  }
  return LinesGained(SplitLines(DecodeCp932(before)), SplitLines(DecodeCp932(after)));
}

}  // namespace

std::vector<Text> LinesGained(const std::vector<Text>& before, const std::vector<Text>& after) {
  std::map<Text, int> seen;
  for (const Text& line : before) ++seen[line];
  std::vector<Text> gained;
  for (const Text& line : after) {
    auto it = seen.find(line);
    if (it != seen.end() && it->second > 0) {
      --it->second;
    } else {
      gained.push_back(line);
    }
  }
  return gained;
}

std::vector<RunReport::TableChange> TableChanges(
    Env& env, const std::vector<std::pair<Text, TableSnapshot>>& before) {
  std::vector<RunReport::TableChange> changes;
  for (const auto& [path, was] : before) {
    TableSnapshot now = Snapshot(env, path);
    RunReport::TableChange change;
    const size_t slash = path.find_last_of(u'\\');
    change.file = slash == Text::npos ? path : path.substr(slash + 1);
    change.created = now.exists && !was.exists;
    if (now.bytes != was.bytes) change.added = Gained(was.bytes, now.bytes);
    if (change.created || !change.added.empty()) changes.push_back(std::move(change));
  }
  return changes;
}

std::vector<Text> Leftovers(Env& env, const Text& outDir,
                            const std::vector<RunReport::Output>& written) {
  std::vector<Text> left;
  for (const char16_t* name : kOutputFamily) {
    bool wrote = false;
    for (const RunReport::Output& o : written)
      wrote = wrote || UpperAscii(o.file) == UpperAscii(name);
    if (!wrote && env.FileExists(outDir + name)) left.push_back(name);
  }
  return left;
}

Text LeftoversWarning(const std::vector<Text>& leftovers) {
  Text names;
  for (const Text& name : leftovers) names += (names.empty() ? u"" : u"、") + name;
  return u"変換先フォルダに、今回の変換では書き込まなかったファイルがあります: " + names +
         u"。以前の変換で書き込まれたもので、Ostra はこのボーリングのデータとして一緒に"
         u"取り込みます。不要なら削除してください。";
}

}  // namespace ostra
