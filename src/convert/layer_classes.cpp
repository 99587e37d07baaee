// The layer-code converter (X3.TXT, through L4Table) and the layer writer (R31.TXT to R35.TXT,
// through the self-extending class tables L13.TXT to L17.TXT).

#include <algorithm>

#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/strata.h"
#include "convert/strata_internal.h"
#include "formats/reference_tables.h"
#include "formats/section_file.h"
#include "formats/table_registry.h"

namespace ostra {

namespace {

using strata::SplitRange;

// Codes added to a class table stay below this.
constexpr int kClassCodeLimit = 100;
// A class code slot without a code.
const Text kNoCode = u"  ";

// Six characters: one two-character slot per coded character of `part` (its first three
// characters at most, each looked up by key in the table); a character without a row uses no
// slot, a slot without a character or with code 0 is two blanks.
Text CodeGroup(const Text& part, const CodeTable& table) {
  int codes[3] = {0, 0, 0};
  int used = 0;
  const size_t n = std::min<size_t>(part.size(), 3);
  for (size_t i = 0; i < n; ++i) {
    for (const CodeRow& row : table) {
      if (row.key.size() == 1 && row.key[0] == part[i]) {
        codes[used++] = IntOrZero(row.code);
        break;
      }
    }
  }
  Text group;
  for (int code : codes) {
    group += code == 0 ? kNoCode : ZeroPadded(code, 2);
  }
  return group;
}

// Codes of the two parts of one class text; a part the table does not know is appended under
// the next free code while that stays below 100.
struct ClassCodes {
  Text code1 = kNoCode;
  Text code2 = kNoCode;
};

ClassCodes LookUpClasses(const RunEnv& env, const TableInfo& classTable, const Text& part1,
                         const Text& part2) {
  strata::ClassTable& table = env.Tables().ClassTableOf(classTable);
  ClassCodes codes;
  // The table holds digits, capitals and katakana in either width; so may the record.
  codes.code1 = table.LastCode(ToFullWidth(part1)).value_or(kNoCode);
  codes.code2 = table.LastCode(ToFullWidth(part2)).value_or(kNoCode);
  const int max = table.MaxCode();

  int next = max + 1;
  auto add = [&](const Text& part, Text& code) {
    if (Trim(part).empty() || !Trim(code).empty() || next >= kClassCodeLimit) return;
    const Text tableCode = RightField(NumText(static_cast<std::int32_t>(next)), 2);
    Text line = tableCode + u",";
    // Six blanks in each unused field before the name (L17.TXT has one).
    for (size_t i = 1; i < classTable.layout.nameField; ++i) line += u"      ,";
    line += strata::TableField(part);
    env.Tables().AppendLine(classTable, line);
    // The output gets the code as every later run reads it from the table: without the blank.
    code = Trim(tableCode);
    ++next;
  };
  add(part1, codes.code1);
  add(part2, codes.code2);
  return codes;
}

}  // namespace

void ConvertLayerCode(OutputFile& x3, const Text& depth, const Text& classText,
                      const CodeTable& l4Table) {
  if (Trim(classText).empty()) return;
  const auto [part1, part2] = SplitRange(classText);
  x3.NumberedLine(strata::LinePrefix(x3.Number(), depth) + CodeGroup(part1, l4Table) + u"," +
                  part1 + u"," + CodeGroup(part2, l4Table) + u"," + part2 + u"," +
                  (part2.empty() ? Text() : Text(1, strata::kRangeMark)));
}

void WriteLayerClasses(const RunEnv& env, LayerClassFiles& files, const Text& depth,
                       const RecordFields& fields) {
  for (int k = 1; k <= 5; ++k) {
    const auto [part1, part2] = SplitRange(strata::OneLine(fields[k + 3]));
    const ClassCodes codes = LookUpClasses(env, *kClassTables[k], part1, part2);
    files[k].NumberedLine(strata::LinePrefix(files[k].Number(), depth) + codes.code1 + u"," +
                          part1 + u"," + codes.code2 + u"," + part2);
  }
}

}  // namespace ostra
