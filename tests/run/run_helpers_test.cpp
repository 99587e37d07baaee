#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/path_text.h"
#include "formats/code_table.h"
#include "run/run.h"
#include "support/test_support.h"

namespace ostra {
namespace {

TEST(RunHelpersTest, CountCharsAndSplitPath) {
  EXPECT_EQ(CountChars(u"C:\\A\\B", u"\\"), 2);
  EXPECT_EQ(CountChars(u"a-b_c-d", u"-_"), 3);
  PathComponents parts = SplitPath(u"C:\\A\\B", u"\\");
  EXPECT_EQ(parts.Count(), 3);
  EXPECT_EQ(parts[1], u"C:");
  EXPECT_EQ(parts[2], u"A");
  EXPECT_EQ(parts[3], u"B");
  parts = SplitPath(u"C:\\A\\", u"\\");
  EXPECT_EQ(parts.Count(), 3);
  EXPECT_EQ(parts.Last(), u"");
  EXPECT_EQ(parts[4], u"");  // beyond the last component, and below the first
  EXPECT_EQ(parts[0], u"");
  // 256 components at most.
  Text deep = u"C:";
  for (int i = 0; i < 255; ++i) deep += u"\\a";
  EXPECT_EQ(SplitPath(deep, u"\\").Count(), 256);
  EXPECT_THROW(SplitPath(deep + u"\\a", u"\\"), RunError);
}

TEST(RunHelpersTest, SiblingNamesReplaceTheFirstThreeCharactersOfTheFileName) {
  EXPECT_EQ(SectionFileName(u"D:\\GEO\\MDT0001.GDF", u"MDT0001.GDF", u"BDT"),
            u"D:\\GEO\\BDT0001.GDF");
  EXPECT_EQ(SectionFileName(u"D:\\GEO\\xyz9.GDF", u"xyz9.GDF", u"CDT"), u"D:\\GEO\\CDT9.GDF");
  // The file name is found at its first occurrence in the path.
  EXPECT_EQ(SectionFileName(u"D:\\MDT1\\MDT1", u"MDT1", u"KDT"), u"D:\\KDT1\\MDT1");
}

TEST(RunHelpersTest, CheckSectionHeaderShowsTheErrorLayout) {
  test::TempDrive drive;
  test::WriteSjis(drive.Host("KDT0001.GDF"), "0,0,0\r\n");
  test::WriteSjis(drive.Host("KDT0002.GDF"), "0,0\r\n");
  EXPECT_EQ(CheckSectionHeader(drive.Files(), drive.Drive("KDT0001.GDF"), 3), std::nullopt);

  const std::optional<Text> short2 =
      CheckSectionHeader(drive.Files(), drive.Drive("KDT0002.GDF"), 3);
  ASSERT_TRUE(short2.has_value());
  EXPECT_EQ(*short2,
            u"エラー `62 ファイルの終わりを越えて読み込もうとしました。\r`T:\\KDT0002.GDF` "
            u"のヘッダーが不正です。変換できません");

  const std::optional<Text> missing =
      CheckSectionHeader(drive.Files(), drive.Drive("KDT0003.GDF"), 3);
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(missing->rfind(u"エラー `53 ", 0), 0u);
}

}  // namespace
}  // namespace ostra
