// The destination template of --scan: its fields from the header, the folder names it falls
// back to, and names made valid folder levels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/scan.h"
#include "support/test_support.h"

namespace ostra::test {
namespace {

TEST(ScanTemplateTest, FieldsFallbacksAndForbiddenCharacters) {
  const std::string t = "D:\\OSTRA\\{project}\\{site}\\{boring}";
  const DataSetPlace place{{u"B1", u"地点A", u"工事X", u"ROOT"}, u"MDT0001", true};
  const DataSetPlace shared{{u"地点A", u"工事X"}, u"BED0002", false};
  struct Row {
    std::string pattern;
    DataSetNames names;
    DataSetPlace place;
    std::string dest;
    std::string fallback;
  };
  const std::vector<Row> rows = {
      {t, {u"P", u"S", u"B-1"}, place, "D:\\OSTRA\\P\\S\\B-1", ""},
      {t,
       {u"", u"S", u"B-1"},
       place,
       "D:\\OSTRA\\工事X\\S\\B-1",
       "{project} はフォルダ名「工事X」"},
      {t,
       {u"", u"", u""},
       place,
       "D:\\OSTRA\\工事X\\地点A\\B1",
       "{project} はフォルダ名「工事X」、{site} はフォルダ名「地点A」、{boring} "
       "はフォルダ名「B1」"},
      // The folder holds other data sets too: the file names the boring.
      {t,
       {u"P", u"", u""},
       shared,
       "D:\\OSTRA\\P\\地点A\\BED0002",
       "{site} はフォルダ名「地点A」、{boring} はファイル名「BED0002」"},
      {t,
       {u"", u"", u""},
       DataSetPlace{{}, u"MDT0001", true},
       "D:\\OSTRA\\_\\_\\_",
       "{project} は「_」（データにもフォルダ名にもありません）、{site} "
       "は「_」（データにもフォルダ名"
       "にもありません）、{boring} は「_」（データにもフォルダ名にもありません）"},
      // Characters no folder name holds, blanks, controls; dots and blanks at the ends.
      {t,
       {u"a\\b/c:d*e?f\"g<h>i|j", u" .工区\u3000１. ", u"B\t1\x01."},
       place,
       "D:\\OSTRA\\a_b_c_d_e_f_g_h_i_j\\工区_１\\B_1_",
       ""},
      // Nothing left of a name: the folder instead.
      {t,
       {u" . ", u"...", u"\u3000"},
       place,
       "D:\\OSTRA\\工事X\\地点A\\B1",
       "{project} はフォルダ名「工事X」、{site} はフォルダ名「地点A」、{boring} "
       "はフォルダ名「B1」"},
      {"/srv/{boring}-{boring}.d",
       {u"", u"", u""},
       place,
       "/srv/B1-B1.d",
       "{boring} はフォルダ名「B1」"},
      {"D:\\FIXED", {u"", u"", u""}, place, "D:\\FIXED", ""},
  };
  for (const Row& row : rows) {
    const FilledTemplate filled = FillTemplate(row.pattern, row.names, row.place);
    EXPECT_EQ(filled.dest, row.dest) << row.pattern << " " << U8(row.names.project);
    EXPECT_EQ(filled.fallback, row.fallback) << row.dest;
  }

  const std::vector<std::pair<std::string, std::string>> unknown = {
      {t, ""},
      {"D:\\{bogus}\\{boring}", "{bogus}"},
      {"D:\\{Site}", "{Site}"},
      {"D:\\{site", "{site"},
      {"D:\\{}", "{}"},
      {"D:\\X", ""}};
  for (const auto& [pattern, field] : unknown) EXPECT_EQ(UnknownTemplateField(pattern), field);
}

}  // namespace
}  // namespace ostra::test
