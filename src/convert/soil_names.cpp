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
#include "formats/table_registry.h"

namespace ostra {

namespace {

using strata::TableField;

// Codes assigned to new names start here; they must stay below kFirstReservedCode.
constexpr int kFirstNewCode = 2000;
constexpr int kFirstReservedCode = 4000;

using strata::Entry;

// The entry whose name is exactly `name` (or is `name` with an annotation in "（）").
std::optional<Entry> FindEntry(const RunEnv& env, const TableInfo& table, const Text& name) {
  return env.Tables().DictionaryOf(table).FindExact(name);
}

// The dictionary line of an entry. Only the name is quoted when need be; the attributes are
// written as they are (a new entry's attributes are blanks, which must stay bare).
Text JoinEntry(const Entry& entry) {
  Text line = entry[0] + u',' + TableField(entry[1]);
  for (size_t i = 2; i < entry.size(); ++i) line += u',' + entry[i];
  return line;
}

// A line that holds no entry: empty, or blanks and Ctrl-Z marks only.
bool IsBlankLine(const Text& line) {
  return line.find_first_not_of(u" \t\x1A") == Text::npos;
}

// Adds `name` to XKISHITU.TXT in front of its first line coded 4000 or more, under the code
// after the one of the entry before it (at least 2000). Blank lines hold no entry: they do not
// count, and those at the table's end (where an editor leaves them) are not copied, so that the
// new entry follows the last one. The reference folder writes the new table in one step (see
// ReferenceFolder::InsertLine), so XKISHITU.TXT is never missing or half written. Returns the
// new entry.
Entry Register(const RunEnv& env, const Text& name) {
  const Text txtPath = env.Table(kTableXkishitu.name);
  const std::vector<Text>& lines = env.Tables().DictionaryOf(kTableXkishitu).Lines();

  size_t end = lines.size();
  while (end > 0 && IsBlankLine(lines[end - 1])) --end;
  int last = 0;
  size_t insertAt = end;
  for (size_t i = 0; i < end; ++i) {
    if (IsBlankLine(lines[i])) continue;
    const int code = IntOrZero(TextView(lines[i]).substr(0, 4));
    if (code >= kFirstReservedCode) {
      insertAt = i;
      break;
    }
    last = code;
  }
  const int newCode = (last < kFirstNewCode ? kFirstNewCode - 1 : last) + 1;
  if (newCode >= kFirstReservedCode) {
    throw ProblemError(Problem::kNoFreeCode, {name}, txtPath, ErrorKind::kReferenceFolder);
  }

  const Entry entry = {ZeroPadded(newCode, 4), name, u"    ", u"    ", u"    ", u"0000"};
  env.Tables().InsertLine(kTableXkishitu, end, insertAt, JoinEntry(entry));
  return entry;
}

// PATADD.txt beside the program only marks that the dictionaries were extended. When the
// program's folder cannot be written (an installed program), the run goes on without a warning
// (it would come with every run) and its report says where the marker would have gone.
void TouchMarker(const RunEnv& env) {
  const Text path = env.Files().ProgramFolder() + u"\\PATADD.txt";
  try {
    TouchFile(env.Files(), path);
  } catch (const RunError& e) {
    if (e.Kind() == ErrorKind::kDeclined) throw;  // the run was asked to stop
    if (!env.markerNotWritten.empty() || env.Files().FileExists(path)) return;
    env.markerNotWritten = path;
  }
}

// Finds the code of `name`, registering it when neither dictionary knows it.
void LookUp(const RunEnv& env, const Text& recordName, Text& code) {
  const Text name = strata::OneLine(recordName);
  if (name.empty()) return;
  if (const std::optional<Entry> inMain = FindEntry(env, kTableKishitu, name)) {
    code = (*inMain)[0];
    return;
  }
  const std::optional<Entry> inExtension = FindEntry(env, kTableXkishitu, name);
  const Entry entry = inExtension ? *inExtension : Register(env, name);
  code = entry[0];
  env.Tables().AppendLine(kTableKishitu, JoinEntry(entry));
  TouchMarker(env);
}

}  // namespace

void ConvertSoilName(const RunEnv& env, OutputFile& x1, const Text& depth, const Text& name) {
  Text code = u"0000";
  LookUp(env, name, code);
  if (!name.empty()) x1.NumberedLine(strata::LinePrefix(x1.Number(), depth) + code + u"," + name);
}

}  // namespace ostra
