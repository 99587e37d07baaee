// The soil-name converter: finds the code of a layer's soil or rock name in the dictionaries
// KISHITU.TXT and XKISHITU.TXT, registers a name no dictionary knows, and writes X1.TXT.

#include <algorithm>
#include <array>
#include <vector>

#include "base/numbers.h"
#include "convert/strata.h"
#include "convert/strata_internal.h"
#include "env/files.h"
#include "formats/reference_tables.h"
#include "formats/section_file.h"

namespace ostra {

namespace {

using strata::TableField;

constexpr char16_t kAnnotationMark = u'（';
// Codes assigned to new names start here; they must stay below kFirstReservedCode.
constexpr int kFirstNewCode = 2000;
constexpr int kFirstReservedCode = 4000;

using strata::Entry;

struct CodeRange {
  int lo;  // exclusive
  int hi;  // exclusive
};
// Searched in this order; codes outside all three (4000-4999, 5500 and up, 0 and below) never
// match.
constexpr std::array<CodeRange, 3> kRanges = {{{4999, 5500}, {999, 4000}, {0, 1000}}};

std::vector<Entry> ReadDictionary(const Text& path) {
  strata::RequireTable(path);
  FieldReader reader = FieldReader::Open(path);
  std::vector<Entry> entries;
  while (!reader.AtEnd()) {
    Entry entry;
    for (Text& field : entry) field = reader.ReadText();
    entries.push_back(std::move(entry));
  }
  return entries;
}

struct Match {
  bool exact = false;
  Entry entry;  // the matching entry, its name cut at "（" unless it matched as a whole
};

// The best entry of one code range: the longest (cut) name contained in `name`. Exact when that
// name is the whole of `name`; the first such entry in file order is kept. An entry whose uncut
// name equals `name` is an exact match too, so an annotated layer name ("花崗岩（粗粒）") finds
// the entry it was registered as.
Match SearchRange(const std::vector<Entry>& entries, const CodeRange& range, const Text& name) {
  Match best;
  size_t bestLength = 0;
  for (const Entry& entry : entries) {
    const int code = IntOrZero(entry[0]);
    if (code <= range.lo || code >= range.hi) continue;
    const Text& whole = entry[1];
    const Text cut = whole.substr(0, whole.find(kAnnotationMark));
    size_t length = 0;
    Text matchedName;
    if (whole == name) {
      length = name.size();
      matchedName = whole;
    } else if (name.find(cut) != Text::npos) {
      length = cut.size();
      matchedName = cut;
    }
    if (length > bestLength) {
      bestLength = length;
      best.entry = entry;
      best.entry[1] = matchedName;
    }
  }
  best.exact = bestLength > 0 && bestLength == name.size();
  return best;
}

// Searches the three code ranges in order and stops at the first exact match.
Match SearchDictionary(const RunEnv& env, const Text& path, const Text& name) {
  if (strata::StrataTables* tables = strata::Tables(env)) {
    std::optional<Entry> entry = tables->DictionaryAt(path).FindExact(name);
    return entry ? Match{true, *entry} : Match{};
  }
  const std::vector<Entry> entries = ReadDictionary(path);
  for (const CodeRange& range : kRanges) {
    Match match = SearchRange(entries, range, name);
    if (match.exact) return match;
  }
  return {};
}

// The dictionary line of an entry. Only the name is quoted when need be; the attributes are
// written as they are (a new entry's attributes are blanks, which must stay bare).
Text JoinEntry(const Entry& entry) {
  Text line = entry[0] + u',' + TableField(entry[1]);
  for (size_t i = 2; i < entry.size(); ++i) line += u',' + entry[i];
  return line;
}

Text MsgNoFreeCode(const Text& path, const Text& name) {
  return path + u" の土質名辞書に 4000 未満の空きコードがありません。土質名「" + name +
         u"」を登録できません。";
}

// Adds `name` to XKISHITU.TXT in front of its first line coded 4000 or more, under the code
// after the one of the line before it (at least 2000). The new table is written completely to
// XKISHITU.TMP and then put in place in one step, so XKISHITU.TXT is never missing or half
// written. Returns the new entry.
Entry Register(const RunEnv& env, const Text& name) {
  const Text txtPath = env.Table(u"XKISHITU.TXT");
  const Text tmpPath = env.Table(u"XKISHITU.TMP");
  strata::StrataTables* tables = strata::Tables(env);
  std::vector<Text> fileLines;  // read here only when the run keeps no tables in memory
  if (tables == nullptr) {
    strata::RequireTable(txtPath);
    fileLines = ReadFileLines(txtPath);
  }
  const std::vector<Text>& lines =
      tables != nullptr ? tables->DictionaryAt(txtPath).Lines() : fileLines;

  int last = 0;
  size_t insertAt = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    const int code = IntOrZero(TextView(lines[i]).substr(0, 4));
    if (code >= kFirstReservedCode) {
      insertAt = i;
      break;
    }
    last = code;
  }
  const int newCode = (last < kFirstNewCode ? kFirstNewCode - 1 : last) + 1;
  if (newCode >= kFirstReservedCode) {
    throw RunError(MsgNoFreeCode(txtPath, name));
  }

  const Entry entry = {ZeroPadded(newCode, 4), name, u"    ", u"    ", u"    ", u"0000"};
  const Text newLine = JoinEntry(entry);
  OutFile tmp(tmpPath);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == insertAt) tmp.Line(newLine);
    tmp.Line(lines[i]);
  }
  if (insertAt == lines.size()) tmp.Line(newLine);
  tmp.Close();
  ReplaceFile(tmpPath, txtPath);
  if (tables != nullptr) tables->DictionaryAt(txtPath).LineInserted(insertAt, newLine);
  return entry;
}

// PATADD.txt beside the program only marks that the dictionaries were extended. When the
// program's folder cannot be written (an installed program), the run warns once and goes on.
void TouchMarker(const RunEnv& env) {
  if (!env.markProgramFolder) return;
  const Text path = ProgramFolder() + u"\\PATADD.txt";
  try {
    TouchFile(path);
  } catch (const RunError&) {
    if (FileExists(path) || env.markerWarned) return;
    env.markerWarned = true;
    env.Warn(u"プログラムのフォルダに PATADD.txt を作成できません（" + path +
             u"）。変換は続けます。");
  }
}

// Finds the code of `name`, registering it when neither dictionary knows it.
void LookUp(const RunEnv& env, const Text& recordName, Text& code) {
  const Text name = strata::OneLine(recordName);
  if (name.empty()) return;
  const Text kishitu = env.Table(u"KISHITU.TXT");
  const Match inMain = SearchDictionary(env, kishitu, name);
  if (inMain.exact) {
    code = inMain.entry[0];
    return;
  }
  const Match inExtension = SearchDictionary(env, env.Table(u"XKISHITU.TXT"), name);
  const Entry entry = inExtension.exact ? inExtension.entry : Register(env, name);
  code = entry[0];
  if (strata::StrataTables* tables = strata::Tables(env)) {
    tables->DictionaryAt(kishitu).AppendLine(JoinEntry(entry));
  } else {
    strata::AppendTableLine(kishitu, JoinEntry(entry));
  }
  TouchMarker(env);
}

}  // namespace

void ConvertSoilName(const RunEnv& env, OutFile& x1, std::int16_t& counter, const Text& depth,
                     std::int16_t& n, NameSlots& names) {
  Text code = u"0000";
  const int last = std::min<int>(n, static_cast<int>(names.size()) - 1);
  for (int i = 1; i <= last; ++i) LookUp(env, names[i], code);
  if (!names[1].empty()) {
    x1.Line(strata::LinePrefix(counter, depth) + code + u"," + names[1]);
    ++counter;
  }
}

}  // namespace ostra
