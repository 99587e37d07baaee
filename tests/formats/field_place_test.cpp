// Where the field reader says a field stands, and what its messages about bad data name: the
// line and character position, the record and field of a block, the count that announced it and
// a double quote that never closed.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "formats/section_file.h"
#include "run/error_text.h"
#include "support/test_support.h"

namespace ostra {
namespace {

using test::U8;

// Reads one field and returns where it stood as "line:column".
std::string NextAt(FieldReader& r, const Text& expected) {
  EXPECT_EQ(r.ReadText(), expected);
  const TextPlace at = r.LastPlace();
  return std::to_string(at.line) + ":" + std::to_string(at.column);
}

// The message and place of reading past the end, or a failure.
struct PastEnd {
  Text message;
  DataPlace place;
};
template <typename Read>
PastEnd ReadPastEnd(Read read) {
  try {
    read();
  } catch (const FileError& e) {
    EXPECT_EQ(e.Code(), FileError::kInputPastEnd);
    EXPECT_TRUE(e.Place().has_value());
    return {ErrorMessage(e), e.Place().value_or(DataPlace{})};
  }
  ADD_FAILURE() << "no error";
  return {};
}

bool Says(const Text& message, const char16_t* part) {
  return message.find(part) != Text::npos;
}

TEST(FieldPlaceTest, FieldsKnowTheirLineAndColumnAcrossLineEnds) {
  // Header line, then six fields over two lines: two records of three fields.
  FieldReader r(u"0,2,3\r\na,b,c,d\r\ne,  f\r\n", u"T:\\KDT0001.GDF");
  EXPECT_EQ(NextAt(r, u"0"), "1:1");
  EXPECT_EQ(NextAt(r, u"2"), "1:3");
  EXPECT_EQ(NextAt(r, u"3"), "1:5");
  EXPECT_EQ(NextAt(r, u"a"), "2:1");
  EXPECT_EQ(NextAt(r, u"b"), "2:3");
  EXPECT_EQ(NextAt(r, u"c"), "2:5");
  EXPECT_EQ(NextAt(r, u"d"), "2:7");
  EXPECT_EQ(NextAt(r, u"e"), "3:1");
  EXPECT_EQ(NextAt(r, u"f"), "3:5");  // blanks before a field are not part of it
}

TEST(FieldPlaceTest, QuotedFieldsLoneLineEndsAndSurrogatePairs) {
  // A quoted field running over a line end moves the next field to the next line.
  FieldReader q(u"\"x\r\ny\",z\r\nw", u"T:\\F.GDF");
  EXPECT_EQ(NextAt(q, u"x\r\ny"), "1:1");
  EXPECT_EQ(NextAt(q, u"z"), "2:4");
  EXPECT_EQ(NextAt(q, u"w"), "3:1");
  // A lone CR and a lone LF each end a line; an empty line is a field of its own.
  FieldReader l(u"a\rb\n\nc", u"T:\\F.GDF");
  EXPECT_EQ(NextAt(l, u"a"), "1:1");
  EXPECT_EQ(NextAt(l, u"b"), "2:1");
  EXPECT_EQ(NextAt(l, u""), "3:1");
  EXPECT_EQ(NextAt(l, u"c"), "4:1");
  // A character outside the basic plane is one character, as an editor counts it.
  FieldReader s(u"\U00020BB7,x", u"T:\\F.GDF");
  EXPECT_EQ(NextAt(s, u"\U00020BB7"), "1:1");
  EXPECT_EQ(NextAt(s, u"x"), "1:3");
  // Asking for an earlier place after a later one gives the same answer as before.
  EXPECT_EQ(q.PlaceOf(0).line, 1);
  EXPECT_EQ(q.PlaceOf(9).line, 2);
}

TEST(FieldPlaceTest, AFileCutInsideARecordNamesTheRecordTheFieldAndTheCount) {
  // Three records of two fields announced; the third has only its first field, on line 4.
  FieldReader r(u"0,3,2\r\na,b\r\nc,\r\nd\r\n\r\n", u"T:\\KDT0001.GDF");
  r.ReadNumber(u"ヘッダー値");
  const Count records = r.ReadCount(u"レコード数");
  const Count fields = r.ReadCount(u"項目数");
  r.BeginBlock(records, fields);
  RecordFields rec;
  r.ReadRecord(rec, 2);
  r.ReadRecord(rec, 2);  // "c" and the empty field the comma before the line end leaves
  EXPECT_EQ(rec[2], u"");
  const PastEnd e = ReadPastEnd([&] { r.ReadRecord(rec, 2); });
  EXPECT_EQ(
      e.message,
      u"ファイル \"T:\\KDT0001.GDF\" のデータが途中で終わっています。ファイルは 4 行目で終わって"
      u"いて、4 行目から始まるレコード 3 件目（全 3 件）の 2 項目目がありません。1 行目 3 文字目"
      u"のレコード数「3」に対して、完全にそろっているレコードは 2 件です。レコード数とデータの"
      u"どちらが誤っているか確かめてください。ファイルの終わりを越えて読み込もうとしました。");
  EXPECT_EQ(e.place.line, 4);
  EXPECT_EQ(e.place.column, 2);
  EXPECT_EQ(e.place.record, 3);
  EXPECT_EQ(e.place.recordCount, 3);
  EXPECT_EQ(e.place.field, 2);
}

TEST(FieldPlaceTest, ARecordSpreadOverLinesNamesTheLineItStartsOn) {
  // Record 1 is "x", "y" and the empty field the comma before the line end leaves; record 2
  // starts with "z" on line 3, has "1" on line 4 and lacks its third field.
  FieldReader r(u"0,2,3\r\nx,y,\r\nz\r\n1", u"T:\\KDT0001.GDF");
  r.ReadNumber(u"ヘッダー値");
  const Count records = r.ReadCount(u"レコード数");
  const Count fields = r.ReadCount(u"項目数");
  r.BeginBlock(records, fields);
  RecordFields rec;
  const PastEnd e = ReadPastEnd([&] {
    r.ReadRecord(rec, 3);
    r.ReadRecord(rec, 3);
  });
  EXPECT_EQ(rec[1], u"z");
  EXPECT_TRUE(Says(e.message,
                   u"ファイルは 4 行目で終わっていて、3 行目から始まるレコード 2 件目"
                   u"（全 2 件）の 3 項目目がありません。"))
      << U8(e.message);
  EXPECT_TRUE(Says(e.message, u"完全にそろっているレコードは 1 件です。")) << U8(e.message);
  EXPECT_EQ(e.place.record, 2);
  EXPECT_EQ(e.place.field, 3);

  // A block that was read whole ends: a field read after it names no record.
  FieldReader after(u"0,1,1\r\nx\r\n", u"T:\\KDT0001.GDF");
  after.ReadText();
  const Count one = after.ReadCount(u"レコード数");
  after.BeginBlock(one, after.ReadCount(u"項目数"));
  after.ReadRecord(rec, 1);
  const PastEnd later = ReadPastEnd([&] { after.ReadNumber(u"ヘッダー値"); });
  EXPECT_EQ(later.place.record, 0);
  EXPECT_FALSE(Says(later.message, u"件目")) << U8(later.message);
}

TEST(FieldPlaceTest, TheMissingFieldOfARecordThatStartedEarlier) {
  FieldReader r(u"0,4,3\r\nx,y,z,p,\r\nq\r\nr,s\r\n", u"T:\\KDT0001.GDF");
  r.ReadNumber(u"ヘッダー値");
  const Count records = r.ReadCount(u"レコード数");
  const Count fields = r.ReadCount(u"項目数");
  r.BeginBlock(records, fields);
  RecordFields rec;
  // Record 1 on line 2; record 2 starts on line 2 ("p"), holds "" and "q"; record 3 is "r", "s"
  // and lacks its third field.
  const PastEnd e = ReadPastEnd([&] {
    for (int i = 0; i < 4; ++i) r.ReadRecord(rec, 3);
  });
  EXPECT_TRUE(Says(e.message,
                   u"ファイルは 4 行目で終わっていて、4 行目から始まるレコード 3 件目"
                   u"（全 4 件）の 3 項目目がありません。"))
      << U8(e.message);
  EXPECT_TRUE(Says(e.message,
                   u"1 行目 3 文字目のレコード数「4」に対して、完全にそろっている"
                   u"レコードは 2 件です。"))
      << U8(e.message);
  EXPECT_EQ(e.place.line, 4);
  EXPECT_EQ(e.place.record, 3);
  EXPECT_EQ(e.place.recordCount, 4);
  EXPECT_EQ(e.place.field, 3);
  EXPECT_FALSE(Says(e.message, u"二重引用符"));
}

TEST(FieldPlaceTest, AQuoteThatNeverClosesIsNamedWhereItOpened) {
  FieldReader r(u"0,3,2\r\n1.0,abc\r\n2.0,  \"def\r\n3.0,ghi\r\n", u"T:\\KDT0001.GDF");
  r.ReadNumber(u"ヘッダー値");
  const Count records = r.ReadCount(u"レコード数");
  const Count fields = r.ReadCount(u"項目数");
  r.BeginBlock(records, fields);
  RecordFields rec;
  const PastEnd e = ReadPastEnd([&] {
    for (int i = 0; i < 3; ++i) r.ReadRecord(rec, 2);
  });
  EXPECT_EQ(rec[2], u"def\r\n3.0,ghi\r\n");  // the quote took the rest of the file
  EXPECT_TRUE(Says(e.message, u"3 行目 7 文字目で始まる二重引用符「\"」が閉じていないため"))
      << U8(e.message);
  EXPECT_TRUE(Says(e.message, u"レコード 3 件目（全 3 件）の 1 項目目がありません。"))
      << U8(e.message);
  EXPECT_TRUE(Says(e.message, u"ファイルは 4 行目で終わっていて")) << U8(e.message);
  EXPECT_EQ(e.place.record, 3);
}

// A stray quote on line 3 closes at the next quote two lines on: the records after it shift and
// the file ends short. The message names the line of the quote that ran over a line end.
TEST(FieldPlaceTest, AQuoteThatRanOverALineEndIsNamedWhenTheFileEndsShort) {
  FieldReader r(u"100,4,3\r\n1.45,12,3\r\n4.45,\"11,6\r\n7.45,50/12,\"20\"\r\n10.45,50,30\r\n",
                u"T:\\NDT0001.GDF");
  r.ReadNumber(u"ヘッダー値");
  const Count records = r.ReadCount(u"レコード数");
  const Count fields = r.ReadCount(u"項目数");
  r.BeginBlock(records, fields);
  RecordFields rec;
  const PastEnd e = ReadPastEnd([&] {
    for (int i = 0; i < 4; ++i) r.ReadRecord(rec, 3);
  });
  EXPECT_TRUE(Says(e.message, u"3 行目の二重引用符で始まる項目が行末を越えています"))
      << U8(e.message);
  EXPECT_TRUE(Says(e.message, u"ファイルは 5 行目で終わっていて")) << U8(e.message);
  EXPECT_FALSE(Says(e.message, u"閉じていない")) << U8(e.message);
}

TEST(FieldPlaceTest, HeaderItemsAndFixedCounts) {
  FieldReader items(u"1,3\r\n\"A\",B\r\n", u"T:\\MDT0001.GDF");
  items.ReadNumber(u"ヘッダー値");
  items.BeginItems(items.ReadCount(u"ヘッダー項目数"));
  RecordFields rec;
  const PastEnd e = ReadPastEnd([&] { items.ReadRecord(rec, 3); });
  EXPECT_TRUE(Says(e.message, u"ヘッダー項目 3 個目（全 3 個）がありません。")) << U8(e.message);
  EXPECT_TRUE(Says(e.message,
                   u"1 行目 3 文字目のヘッダー項目数「3」に対して、完全にそろっている"
                   u"ヘッダー項目は 2 個です。"))
      << U8(e.message);
  EXPECT_EQ(e.place.field, 3);
  EXPECT_EQ(e.place.record, 0);

  FieldReader fixed(u"a\r\nb\r\n", u"T:\\LDT0001.GDF");
  fixed.BeginBlock(Count{20, Count::kFixed, u"試験データのレコード数"}, Count{1, 0, u"項目数"});
  const PastEnd f = ReadPastEnd([&] {
    for (int i = 0; i < 20; ++i) fixed.ReadRecord(rec, 1);
  });
  EXPECT_TRUE(Says(f.message,
                   u"試験データのレコード数は常に 20 件ですが、完全にそろっている"
                   u"レコードは 2 件です。"))
      << U8(f.message);
  EXPECT_EQ(f.place.recordCount, 20);
}

TEST(FieldPlaceTest, OutsideABlockTheMissingValueIsNamed) {
  FieldReader r(u"1,2\r\n", u"T:\\BDT0001.GDF");
  r.ReadText();
  r.ReadText();
  const PastEnd e = ReadPastEnd([&] { r.ReadCount(u"レコード数"); });
  EXPECT_TRUE(Says(e.message, u"ファイルは 1 行目で終わっていて、レコード数がありません。"))
      << U8(e.message);
  EXPECT_EQ(e.place.record, 0);
  EXPECT_EQ(e.place.line, 1);
  EXPECT_EQ(e.place.column, 4);
}

TEST(FieldPlaceTest, BadValuesNameTheirPlaceAndValue) {
  FieldReader r(u"0\r\n  7,x2,1.5,41", u"T:\\N.GDF");
  r.ReadText();
  const Count seven = r.ReadCount(u"レコード数");
  EXPECT_EQ(seven.value, 7);
  EXPECT_EQ(r.PlaceOf(seven.offset).column, 3);
  try {
    r.ReadCount(u"レコード数");
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_EQ(ErrorMessage(e),
              u"ファイル \"T:\\N.GDF\" の 2 行目 5 文字目のレコード数「x2」が数値ではありません。"
              u"変換できません。");
    ASSERT_TRUE(e.Place().has_value());
    EXPECT_EQ(e.Place()->line, 2);
    EXPECT_EQ(e.Place()->column, 5);
    EXPECT_EQ(e.Place()->value, u"x2");
    EXPECT_EQ(e.Kind(), ErrorKind::kData);
  }
  try {
    r.ReadCount(u"項目数");
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_TRUE(Says(ErrorMessage(e),
                     u"2 行目 8 文字目の項目数「1.5」が 0 から 32767 までの整数では"
                     u"ありません。"))
        << U8(ErrorMessage(e));
  }
  const Count fields = r.ReadCount(u"項目数");
  try {
    r.BeginBlock(seven, fields);
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_EQ(ErrorMessage(e),
              u"ファイル \"T:\\N.GDF\" の 2 行目 12 文字目の項目数「41」が上限 40 を"
              u"超えています。変換できません。");
    ASSERT_TRUE(e.Place().has_value());
    EXPECT_EQ(e.Place()->line, 2);
    EXPECT_EQ(e.Place()->column, 12);
    EXPECT_EQ(e.Place()->value, u"41");
  }
}

}  // namespace
}  // namespace ostra
