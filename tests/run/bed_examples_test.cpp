// The guideline's worked examples converted through the run, their outputs checked field by
// field against the XML they came from.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/decimal.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "formats/bed_codes.h"
#include "formats/bed_xml.h"
#include "formats/section_file.h"
#include "sample_env.h"

namespace ostra {
namespace {

const test::fs::path kBedFolder = test::ExamplesDir() / "bed";

std::string U8(const Text& t) {
  return ToUtf8(t);
}

// The lines of an output file, each split into its fields.
std::vector<std::vector<Text>> Lines(MemoryEnv& env, const Text& file) {
  std::vector<std::vector<Text>> lines;
  for (const Text& line : SplitLines(DecodeCp932(env.ReadFile(file)))) {
    lines.push_back(LineFields(line));
  }
  return lines;
}

// The line of a layer or test file whose depth field (field 2) reads as `depth`.
const std::vector<Text>* AtDepth(const std::vector<std::vector<Text>>& lines, const Text& depth) {
  const std::optional<double> want = ReadNumber(depth);
  for (const auto& line : lines) {
    if (line.size() > 1 && ReadNumber(line[1]) == want) return &line;
  }
  return nullptr;
}

Text Child(const XmlElement& e, const std::u16string& name) {
  return e.ChildText(name);
}

struct Converted {
  XmlDocument xml;
  MemoryEnv env;
  RunReport report;
};

void ConvertExample(const std::string& file, Converted& c) {
  const std::string bytes = test::ReadBytes(kBedFolder / file);
  c.xml = ParseBedXml(bytes, u"BED.XML");
  PutSample(c.env);
  c.env.SetFile(u"W:\\GEO\\BED0001.XML", bytes);
  ConversionRequest request = SampleRequest();
  request.source = u"W:\\GEO\\BED0001.XML";
  test::RecordingObserver observer;
  c.report = observer.Run(request, c.env);
}

// The symbol a class value should become: the file's own table, else the standard one.
Text Symbol(const XmlElement& root, const std::u16string& list, BedClass cls, const Text& code) {
  for (const XmlElement* entry : root.Descendants(list + u"判定表")) {
    if (entry->ChildText(list + u"判定表_コード") == code)
      return entry->ChildText(list + u"判定表_記号");
  }
  for (const XmlElement* entry : root.Descendants(list + u"判定表_判定")) {
    if (entry->ChildText(list + u"判定表_コード") == code)
      return entry->ChildText(list + u"判定表_記号");
  }
  for (const BedStandardRow& row : BedStandardRows()) {
    if (row.cls == cls && row.code == code) return row.symbol;
  }
  return code;
}

class BedExample : public ::testing::TestWithParam<const char*> {};

TEST_P(BedExample, OutputsHoldWhatTheXmlHolds) {
  Converted c;
  ConvertExample(GetParam(), c);
  ASSERT_TRUE(c.report.completed) << (c.report.error ? U8(c.report.error->message) : "");
  const XmlElement& root = c.xml.root;
  const bool v4 = std::string(GetParam()) == "BED0400.XML";
  auto out = [&](const char16_t* name) {
    return Lines(c.env, Text(kSampleDestination) + u"\\" + name);
  };

  // Layers: every name interval's lower depth has its X1 line with that name.
  const std::u16string names = v4 ? u"工学的地質区分名現場土質名" : u"岩石土区分";
  const auto x1 = out(u"X1.TXT");
  for (const XmlElement* e : root.Descendants(names)) {
    const auto* line = AtDepth(x1, Child(*e, names + u"_下端深度"));
    ASSERT_NE(line, nullptr) << U8(Child(*e, names + u"_下端深度"));
    EXPECT_EQ(U8((*line)[3]), U8(Child(*e, v4 ? names + u"_" + names : names + u"_岩石土名")));
  }
  // Classes: R31-R35 carry the symbol at every lower depth of their lists.
  struct ClassFile {
    const char16_t* file;
    std::u16string list;
    BedClass cls;
  };
  const std::vector<ClassFile> classes = {
      {u"R31.TXT", u"岩級区分", BedClass::kRockGrade},
      {u"R32.TXT", v4 ? u"風化の程度区分" : u"風化区分", BedClass::kWeathering},
      {u"R33.TXT", u"硬軟区分", BedClass::kHardness},
      {u"R34.TXT", v4 ? u"割れ目の状態区分" : u"割れ目区分", BedClass::kFracture},
      {u"R35.TXT", v4 ? u"熱水変質の程度区分" : u"変質区分", BedClass::kAlteration}};
  for (const ClassFile& k : classes) {
    const auto lines = out(k.file);
    const auto entries = root.Descendants(k.list);
    ASSERT_FALSE(entries.empty()) << U8(k.list);
    for (const XmlElement* e : entries) {
      const auto* line = AtDepth(lines, Child(*e, k.list + u"_下端深度"));
      ASSERT_NE(line, nullptr) << U8(k.file);
      const Text symbol = Symbol(root, k.list, k.cls, Child(*e, k.list + u"_" + k.list));
      EXPECT_EQ(U8((*line)[3]), U8(ToFullWidth(symbol))) << U8(k.file);
    }
  }
  // Penetration tests: X5 holds every test's depth and its total blows.
  const auto x5 = out(u"X5.TXT");
  const auto tests = root.Descendants(u"標準貫入試験");
  ASSERT_EQ(x5.size(), tests.size());
  for (size_t i = 0; i < tests.size(); ++i) {
    EXPECT_EQ(ReadNumber(x5[i][1]), ReadNumber(Child(*tests[i], u"標準貫入試験_開始深度")));
    EXPECT_EQ(ReadNumber(x5[i][2]), ReadNumber(Child(*tests[i], u"標準貫入試験_合計打撃回数")));
  }
  // Water levels: every level written reaches N9.TXT, in order.
  std::vector<Text> levels;
  for (const XmlElement* e : root.Descendants(u"孔内水位")) {
    if (!Child(*e, u"孔内水位_孔内水位").empty()) levels.push_back(Child(*e, u"孔内水位_孔内水位"));
  }
  const auto n9 = out(u"N9.TXT");
  ASSERT_EQ(n9.size(), levels.size());
  for (size_t i = 0; i < levels.size(); ++i) EXPECT_EQ(ReadNumber(n9[i][2]), ReadNumber(levels[i]));
  // Remarks: one X12 record per remark, at its lower depth, starting with its first line.
  const auto x12 = out(u"X12.TXT");
  const auto remarks = root.Descendants(u"観察記事");
  ASSERT_EQ(x12.size(), remarks.size());
  for (size_t i = 0; i < remarks.size(); ++i) {
    EXPECT_EQ(ReadNumber(x12[i][1]), ReadNumber(Child(*remarks[i], u"観察記事_下端深度")));
    const Text text = Child(*remarks[i], u"観察記事_記事");
    const Text first = text.substr(0, std::min(text.find(u"\\n"), Text::size_type{15}));
    EXPECT_EQ(x12[i][2].substr(0, first.size()), first);
  }
  // Titles.
  const auto t1 =
      SplitLines(DecodeCp932(c.env.ReadFile(Text(kSampleDestination) + u"\\Titl01.txt")));
  const auto t2 =
      SplitLines(DecodeCp932(c.env.ReadFile(Text(kSampleDestination) + u"\\Titl02.txt")));
  EXPECT_EQ(t1[0], FromUtf8(U8(root.Descendants(u"調査名")[0]->text)));
  EXPECT_EQ(t1[1], Trim(root.Descendants(u"事業工事名")[0]->text));
  EXPECT_EQ(t1[9], Trim(root.Descendants(u"ボーリング名")[0]->text));
  EXPECT_EQ(t1[21], Trim(root.Descendants(v4 ? u"総削孔長" : u"総掘進長")[0]->text));
  EXPECT_EQ(t2[0], Trim(root.Descendants(u"発注機関名称")[0]->text));
  EXPECT_EQ(t2[28], Trim(root.Descendants(u"調査会社_名称")[0]->text));
  EXPECT_EQ(U8(t1[3]),
            U8(Child(*root.Descendants(u"調査期間")[0], u"調査期間_開始年月日").substr(0, 4)));
}

INSTANTIATE_TEST_SUITE_P(Examples, BedExample, ::testing::Values("BED0300.XML", "BED0400.XML"));

}  // namespace
}  // namespace ostra
