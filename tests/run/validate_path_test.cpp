#include "run/validate_path.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace ostra {
namespace {

struct Checked {
  bool ok;
  Text path;
  bool driveNameMessage;  // refused with kDriveNameMessage
};

Checked Check(Env& env, const Text& input) {
  Text path = input;
  const PathCheck verdict = ValidatePath(env, path);
  return {verdict == PathCheck::kAccepted, path, verdict == PathCheck::kNoDriveName};
}

class ValidatePathTest : public ::testing::Test {
 protected:
  ValidatePathTest() { c_.Share(d_); }
  Checked Check(const Text& input) { return ostra::Check(c_.Files(), input); }
  test::TempDrive c_{u'C'};
  test::TempDrive d_{u'D'};
};

TEST_F(ValidatePathTest, NormalisesAcceptedPaths) {
  Checked r = Check(u"  D:\\WORK  ");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.path, u"D:\\WORK\\");
  r = Check(u"C:WORK");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.path, u"C:\\WORK\\");
  EXPECT_TRUE(Check(u"C:\\LONGFOLDERNAME\\").ok);
  EXPECT_TRUE(Check(u"C:\\DATA.TXT\\P1").ok);
  EXPECT_TRUE(Check(u"C:").ok);
  EXPECT_EQ(Check(u"C:").path, u"C:\\");
  EXPECT_FALSE(Check(u"C:\\ABCDEFGH.TXT").driveNameMessage);
  EXPECT_TRUE(Check(u"C:\\ABCDEFGH.TXT").ok);
}

TEST_F(ValidatePathTest, AMissingDriveColonShowsTheDriveNameMessage) {
  for (const Text& bad : {Text(u"WORK"), Text(u"\\\\SERVER\\SHARE"), Text(u""), Text(u"岩:")}) {
    const Checked r = Check(bad);
    EXPECT_FALSE(r.ok) << test::U8(bad);
    EXPECT_TRUE(r.driveNameMessage) << test::U8(bad);
  }
  EXPECT_EQ(test::U8(kDriveNameMessage),
            "規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" "
            "でなければいけません。  例 \"C:\", \"D:\"...");
}

TEST_F(ValidatePathTest, RejectsWithoutAMessage) {
  for (const char16_t* bad : {u"C:\\MY DATA", u"C:\\A*", u"C:\\A?", u"C:\\ABCDEFGHI.TXT\\",
                              u"C:\\DATA.TEXT\\", u"C:\\A.B.C\\", u"C:\\A\\\\B", u"Q:\\WORK",
                              u"C:\\岩盤岩.ＴＸ\\", u"C:\\A\nB", u"C:\\A\tB\\C", u"C:\\A\x7F"}) {
    Checked r = Check(bad);
    EXPECT_FALSE(r.ok) << test::U8(bad);
    EXPECT_FALSE(r.driveNameMessage) << test::U8(bad);
  }
}

}  // namespace
}  // namespace ostra
