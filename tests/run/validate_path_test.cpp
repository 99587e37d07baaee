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

// Every refused path says which rule it broke and where: the rule, what broke it, the level, and
// the words that follow the refusal, which name them.
TEST_F(ValidatePathTest, ARefusalNamesTheRuleAndTheLevel) {
  using Rule = PathRefusal::Rule;
  struct Case {
    const char16_t* path;
    Rule rule;
    const char16_t* what;
    const char16_t* level;
    const char* words;  // a part of the sentence
  };
  const Case cases[] = {
      {u"C:\\MY DATA\\B", Rule::kCharacter, u" ", u"MY DATA", "階層「MY DATA」に空白があります"},
      {u"C:\\P\\A*", Rule::kCharacter, u"*", u"A*", "階層「A*」に「*」があります"},
      {u"C:\\A?\\B", Rule::kCharacter, u"?", u"A?", "階層「A?」に「?」があります"},
      {u"C:\\A\\B\tC", Rule::kControl, u"\t", u"B\tC", "制御文字（\\x09）"},
      {u"C:\\A\\\\B", Rule::kEmptyLevel, u"", u"", "空の階層"},
      {u"Q:\\WORK", Rule::kDriveNotReady, u"Q:", u"", "ドライブ Q: は"},
      {u"C:\\P\\ABCDEFGHI.TXT\\B", Rule::kNameTooLong, u"", u"ABCDEFGHI.TXT",
       "階層「ABCDEFGHI.TXT」のピリオドの前が 8 文字"},
      {u"C:\\DATA.TEXT\\", Rule::kExtensionTooLong, u"", u"DATA.TEXT",
       "階層「DATA.TEXT」のピリオドの後が 3 バイト"},
      {u"C:\\岩盤岩.ＴＸ", Rule::kExtensionTooLong, u"", u"岩盤岩.ＴＸ", "階層「岩盤岩.ＴＸ」"},
      {u"C:\\OK\\A.B.C\\D", Rule::kTwoDots, u"", u"A.B.C", "階層「A.B.C」にピリオドが 2 つ"},
  };
  for (const Case& c : cases) {
    Text path = c.path;
    PathRefusal why;
    EXPECT_EQ(ValidatePath(c_.Files(), path, &why), PathCheck::kRefused) << test::U8(c.path);
    EXPECT_EQ(why.rule, c.rule) << test::U8(c.path);
    EXPECT_EQ(why.what, Text(c.what)) << test::U8(c.path);
    EXPECT_EQ(why.level, Text(c.level)) << test::U8(c.path);
    const std::string words = test::U8(PathRefusalText(why));
    EXPECT_NE(words.find(c.words), std::string::npos) << words;
    EXPECT_EQ(words.back(), '\x82') << words;  // ends with "。" (E3 80 82)
  }
  // An accepted path leaves `why` without a rule, and its words are none.
  Text path = u"C:\\WORK";
  PathRefusal why;
  EXPECT_EQ(ValidatePath(c_.Files(), path, &why), PathCheck::kAccepted);
  EXPECT_EQ(why.rule, Rule::kNone);
  EXPECT_TRUE(PathRefusalText(why).empty());
}

}  // namespace
}  // namespace ostra
