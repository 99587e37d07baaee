#include "formats/bed_codes.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace ostra {
namespace {

struct ClassName {
  const char* key;  // as the data file writes it
  BedClass cls;
  const char* label;  // as the documentation writes it
};
constexpr ClassName kClassNames[] = {
    {"rock-grade", BedClass::kRockGrade, "岩級"},  {"weathering", BedClass::kWeathering, "風化"},
    {"hardness", BedClass::kHardness, "硬軟"},     {"fracture", BedClass::kFracture, "割れ目"},
    {"alteration", BedClass::kAlteration, "変質"}, {"core-shape", BedClass::kCoreShape, "コア形状"},
};

const ClassName& NameOf(BedClass cls) {
  for (const ClassName& name : kClassNames) {
    if (name.cls == cls) return name;
  }
  throw std::logic_error("no name");
}

TEST(BedCodesTest, ResolvesOwnTableThenStandardElseAsWritten) {
  using S = BedCodeSource;
  const BedOwnTable none;
  const BedOwnTable coreAsLetters = {{u"011", u"a"}, {u"950", u"V"}};
  const BedOwnTable grades = {{u"950", u"CM"}, {u"960", u"CH"}};
  const BedOwnTable padded = {{u" 950\u3000", u" CM\t"}, {u"012", u""}, {u"913", u"Ｂ"}};
  const BedOwnTable withZero = {{u"0", u"x"}, {u"000", u"y"}, {u"051", u"α,β"}};
  struct Case {
    BedClass cls;
    const char16_t* value;
    const BedOwnTable& own;
    const char16_t* symbol;
    S source;
    bool unknown;
  };
  const Case cases[] = {
      // The own table first, also for a standard code; the standard one where it lacks a code.
      {BedClass::kCoreShape, u"011", coreAsLetters, u"a", S::kOwnTable, false},
      {BedClass::kCoreShape, u"012", coreAsLetters, u"II", S::kStandard, false},
      {BedClass::kCoreShape, u"950", coreAsLetters, u"V", S::kOwnTable, false},
      {BedClass::kRockGrade, u"950", grades, u"CM", S::kOwnTable, false},
      {BedClass::kWeathering, u"051", withZero, u"α,β", S::kOwnTable, false},
      // Each class has its own standard table: 岩級 has none, 割れ目 ends at 014, 硬軟 at 015.
      {BedClass::kRockGrade, u"011", none, u"011", S::kRaw, true},
      {BedClass::kFracture, u"015", none, u"015", S::kRaw, true},
      {BedClass::kHardness, u"015", none, u"E", S::kStandard, false},
      // Codes no table knows: listed.
      {BedClass::kFracture, u"910", none, u"910", S::kRaw, true},
      {BedClass::kRockGrade, u"999", grades, u"999", S::kRaw, true},
      {BedClass::kWeathering, u"051", none, u"051", S::kRaw, true},
      {BedClass::kHardness, u"023", none, u"023", S::kRaw, true},
      // "0" and "000" are no codes, even where a table writes them.
      {BedClass::kWeathering, u"0", withZero, u"0", S::kRaw, true},
      {BedClass::kWeathering, u" 000 ", withZero, u"000", S::kRaw, true},
      // Not a code: a symbol written directly, kept and not listed.
      {BedClass::kRockGrade, u"CM", grades, u"CM", S::kRaw, false},
      {BedClass::kWeathering, u"α", none, u"α", S::kRaw, false},
      {BedClass::kWeathering, u"０１３", none, u"０１３", S::kRaw, false},
      {BedClass::kWeathering, u"13", none, u"13", S::kRaw, false},
      // Blanks of both widths, tabs and line ends around values, keys and symbols are cut.
      {BedClass::kWeathering, u"\u3000 013\t\r\n", none, u"γ", S::kStandard, false},
      {BedClass::kRockGrade, u"950", padded, u"CM", S::kOwnTable, false},
      {BedClass::kRockGrade, u"\t950 ", padded, u"CM", S::kOwnTable, false},
      // An own symbol is returned as the table writes it; an entry without one defines nothing.
      {BedClass::kHardness, u"913", padded, u"Ｂ", S::kOwnTable, false},
      {BedClass::kHardness, u"012", padded, u"B", S::kStandard, false},
      // Empty: no class.
      {BedClass::kHardness, u"", grades, u"", S::kEmpty, false},
      {BedClass::kHardness, u" \u3000\t\r\n", grades, u"", S::kEmpty, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(NameOf(c.cls).key) + " \"" + ToUtf8(c.value) + "\"");
    BedCodeResult r = ResolveBedCode(c.cls, c.value, c.own);
    EXPECT_EQ(ToUtf8(r.symbol), ToUtf8(c.symbol));
    EXPECT_EQ(r.source, c.source);
    EXPECT_EQ(r.unknownCode, c.unknown);
  }
}

TEST(BedCodesTest, EveryStandardRowResolvesToItsSymbolUnlessTheOwnTableSaysOtherwise) {
  const std::vector<BedStandardRow>& rows = BedStandardRows();
  ASSERT_FALSE(rows.empty());
  std::set<std::pair<BedClass, Text>> seen;
  for (const BedStandardRow& row : rows) {
    SCOPED_TRACE(std::string(NameOf(row.cls).key) + " " + ToUtf8(row.code));
    EXPECT_TRUE(seen.insert({row.cls, row.code}).second) << "twice in the table";
    ASSERT_EQ(row.code.size(), 3u);
    EXPECT_EQ(row.code[0], u'0');  // 9xx codes are the files' own
    for (Text value : {row.code, u" " + row.code + u"\u3000\r\n"}) {
      BedCodeResult r = ResolveBedCode(row.cls, value, {});
      EXPECT_EQ(r.symbol, row.symbol);
      EXPECT_EQ(r.source, BedCodeSource::kStandard);
      EXPECT_FALSE(r.unknownCode);
    }
    BedCodeResult own = ResolveBedCode(row.cls, row.code, {{row.code, u"own"}});
    EXPECT_EQ(own.symbol, u"own");
    EXPECT_EQ(own.source, BedCodeSource::kOwnTable);
  }
}

// The rows of the data file, as (key, code, symbol, status, sources, meaning).
std::vector<std::vector<std::string>> DataFileRows() {
  std::istringstream in(
      test::ReadBytes(test::fs::path(OSTRA_SOURCE_DIR) / "data" / "bed-standard-codes.tsv"));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    fields.resize(6);
    rows.push_back(fields);
  }
  return rows;
}

TEST(BedCodesTest, TheProgramAndTheDocumentationHoldTheDataFile) {
  const auto fileRows = DataFileRows();
  const std::vector<BedStandardRow>& rows = BedStandardRows();
  ASSERT_EQ(rows.size(), fileRows.size());
  std::vector<std::string> expected;
  std::set<std::string> sources;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& f = fileRows[i];
    EXPECT_EQ(NameOf(rows[i].cls).key, f[0]);
    EXPECT_EQ(ToUtf8(rows[i].code), f[1]);
    EXPECT_EQ(ToUtf8(rows[i].symbol), f[2]);
    EXPECT_EQ(ToUtf8(rows[i].status), f[3]);
    EXPECT_EQ(ToUtf8(rows[i].source), f[4]);
    expected.push_back("| " + std::string(NameOf(rows[i].cls).label) + " | " + f[1] + " | " + f[2] +
                       " | " + f[3] + " | " + f[4] + " | " + f[5] + " |");
    std::istringstream ids(f[4]);
    for (std::string id; ids >> id;) sources.insert(id);
  }

  // The documentation's table: the rows after its heading line and the line under it.
  const std::string doc =
      test::ReadBytes(test::fs::path(OSTRA_SOURCE_DIR) / "docs" / "bed-mapping.md");
  const std::string heading = "| class | code | symbol | status | sources | meaning |\n";
  size_t at = doc.find(heading);
  ASSERT_NE(at, std::string::npos) << "docs/bed-mapping.md has no table of the standard codes";
  std::istringstream in(doc.substr(at + heading.size()));
  std::string line;
  std::getline(in, line);  // |---|...
  std::vector<std::string> documented;
  while (std::getline(in, line) && line.rfind("|", 0) == 0) documented.push_back(line);
  std::string table;
  for (const std::string& row : expected) table += row + "\n";
  EXPECT_EQ(documented, expected) << "the table as docs/bed-mapping.md should hold it:\n"
                                  << heading << "|---|---|---|---|---|---|\n"
                                  << table;
  for (const std::string& id : sources) {
    EXPECT_NE(doc.find("- " + id + ": "), std::string::npos) << id << " is not named";
  }
}

}  // namespace
}  // namespace ostra
