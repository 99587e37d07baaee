#include "formats/section_file.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "run/error_text.h"
#include "support/test_support.h"

namespace ostra {
namespace {

std::vector<Text> AllFields(const std::string& utf8) {
  FieldReader r(test::U16(utf8), u"T:\\F.GDF");
  std::vector<Text> out;
  while (!r.AtEnd()) out.push_back(r.ReadText());
  return out;
}

std::vector<Text> V(std::initializer_list<const char16_t*> items) {
  std::vector<Text> out;
  for (const char16_t* i : items) out.emplace_back(i);
  return out;
}

TEST(FieldReaderTest, SplitsFieldsAtCommasAndLineEndsAcrossLines) {
  EXPECT_EQ(AllFields("1,\"A,B\",3\r\n"), V({u"1", u"A,B", u"3"}));
  // A header line and six fields over two lines make two records of three fields.
  FieldReader r(u"0,2,3\r\na,b,c,d\r\ne,f\r\n", u"T:\\KDT0001.GDF");
  EXPECT_EQ(r.ReadCount(u"h"), 0);
  EXPECT_EQ(r.ReadCount(u"R"), 2);
  EXPECT_EQ(r.ReadCount(u"F"), 3);
  RecordFields rec;
  r.ReadRecord(rec, 3);
  EXPECT_EQ(rec[1], u"a");
  EXPECT_EQ(rec[3], u"c");
  r.ReadRecord(rec, 3);
  EXPECT_EQ(rec[1], u"d");
  EXPECT_EQ(rec[2], u"e");
  EXPECT_EQ(rec[3], u"f");
  EXPECT_TRUE(r.AtEnd());
}

TEST(FieldReaderTest, BlanksEmptyFieldsAndQuotes) {
  // Leading and trailing blanks of unquoted fields go; quoted fields keep theirs.
  EXPECT_EQ(AllFields("  a  ,\" b c \" ,x\r\n"), V({u"a", u" b c ", u"x"}));
  // A comma before a line end leaves an empty field; an empty line is one empty field.
  EXPECT_EQ(AllFields("a,\r\nb\r\n\r\nc\r\n"), V({u"a", u"", u"b", u"", u"c"}));
  // A comma right before the end of the file still leaves its empty last field.
  EXPECT_EQ(AllFields("a,b,"), V({u"a", u"b", u""}));
  // A quoted field runs across line ends; text after the closing quote is skipped.
  EXPECT_EQ(AllFields("\"x\r\ny\"junk,z\r\n"), V({u"x\r\ny", u"z"}));
  // Lone CR and lone LF end lines too.
  EXPECT_EQ(AllFields("a\rb\nc"), V({u"a", u"b", u"c"}));
}

TEST(FieldReaderTest, EndOfFileIgnoresTrailingBlanksLineEndsAndCtrlZ) {
  EXPECT_EQ(AllFields("1,2\r\n\r\n  \r\n"), V({u"1", u"2"}));
  EXPECT_EQ(AllFields("1,2\r\n\x1A"), V({u"1", u"2"}));
  EXPECT_TRUE(AllFields("").empty());
  EXPECT_TRUE(AllFields("\r\n \r\n").empty());
}

TEST(FieldReaderTest, ReadingPastTheEndIsError62NamingTheFile) {
  FieldReader r(u"0,0\r\n", u"T:\\KDT0001.GDF");
  r.ReadText();
  r.ReadText();
  try {
    r.ReadText();
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Code(), 62);
    EXPECT_NE(ErrorMessage(e).find(u"T:\\KDT0001.GDF"), Text::npos);
  }
}

TEST(FieldReaderTest, NumbersAndCounts) {
  FieldReader r(u"100,,５５, 12.5 ,-3,2.5,abc,41", u"T:\\N.GDF");
  EXPECT_EQ(r.ReadNumber(u"h"), 100.0);
  EXPECT_EQ(r.ReadNumber(u"h"), 0.0);  // empty reads as 0
  EXPECT_EQ(r.ReadCount(u"R"), 55);    // full-width numerals
  EXPECT_EQ(r.ReadNumber(u"h"), 12.5);
  EXPECT_THROW(r.ReadCount(u"R"), RunError);  // negative
  EXPECT_THROW(r.ReadCount(u"R"), RunError);  // fractional
  try {
    r.ReadNumber(u"ヘッダー値");
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(ErrorMessage(e).find(u"T:\\N.GDF"), Text::npos);
    EXPECT_NE(ErrorMessage(e).find(u"abc"), Text::npos);
  }
  EXPECT_THROW(r.ReadCount(u"F", 40), RunError);
}

TEST(FieldReaderTest, RecordOverwritesOnlyItsOwnSlots) {
  FieldReader r(u"a,b,c\r\nx\r\n", u"T:\\F.GDF");
  RecordFields rec;
  r.ReadRecord(rec, 3);
  r.ReadRecord(rec, 1);
  EXPECT_EQ(rec[1], u"x");
  EXPECT_EQ(rec[2], u"b");
  EXPECT_EQ(rec[3], u"c");
}

TEST(FieldReaderTest, OpenDecodesCodePage932AndReportsMissingFiles) {
  test::TempDrive drive;
  test::WriteSjis(drive.Host("M.GDF"), "花崗岩,\"砂岩,泥岩\"\r\n");
  FieldReader r = FieldReader::Open(drive.Files(), drive.Drive("M.GDF"));
  EXPECT_EQ(r.ReadText(), u"花崗岩");
  EXPECT_EQ(r.ReadText(), u"砂岩,泥岩");
  try {
    FieldReader::Open(drive.Files(), drive.Drive("NONE.GDF"));
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Code(), 53);
  }
}

TEST(FieldReaderTest, AppendGoesOnAsTheGrownFileReads) {
  FieldReader r(u"a,b\r\n", u"T:\\F.TXT");
  EXPECT_EQ(r.ReadText(), u"a");
  EXPECT_EQ(r.ReadText(), u"b");
  EXPECT_TRUE(r.AtEnd());
  ASSERT_TRUE(r.Append(u"c,d\r\n"));
  EXPECT_EQ(r.ReadText(), u"c");
  EXPECT_EQ(r.ReadText(), u"d");
  // A last field without its line end would run on into the added text.
  FieldReader open(u"a,b", u"T:\\F.TXT");
  open.ReadText();
  open.ReadText();
  EXPECT_FALSE(open.Append(u"\r\nc"));
}

TEST(FieldReaderTest, AppendAfterALoneCarriageReturn) {
  // The added LF makes CR LF one line end in the grown file: the reader cannot go on.
  FieldReader r(u"a\r", u"T:\\F.TXT");
  EXPECT_EQ(r.ReadText(), u"a");
  EXPECT_FALSE(r.Append(u"\nb\r\n"));
  // Text after a Ctrl-Z is never read, added or not.
  FieldReader z(u"a\r\n\x1A", u"T:\\F.TXT");
  EXPECT_EQ(z.ReadText(), u"a");
  EXPECT_TRUE(z.Append(u"b\r\n"));
  EXPECT_TRUE(z.AtEnd());
}

}  // namespace
}  // namespace ostra
