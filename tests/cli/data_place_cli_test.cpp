// Messages about bad section data through ostraconv-cli point at the place: the line and
// character position, the record of how many and its field, the value in 「」 and, for a file
// that ends too early, the count that asked for more and a double quote that never closed. The
// line numbers below are counted in the test data (a comment numbers each line).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

using Lines = std::vector<std::string>;

// The bundled sample's MDT file and reference folder on drive G:, the section under test next to
// it in G:\GEO, the output on drive O:.
class DataPlaceCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(geo_.Host("PATDAT"));
    fs::create_directories(geo_.Host("GEO"));
    fs::copy_file(ExamplesDir() / "MDT0001.GDF", geo_.Host("GEO/MDT0001.GDF"));
  }
  void WriteSection(const std::string& kind, const Lines& lines) {
    WriteSjisLines(geo_.Host("GEO/" + kind + "0001.GDF"), lines);
  }
  // Converts and returns the message (stderr) of a run that must stop.
  std::string Stopped() {
    const CliResult r =
        RunCli({"--drive", "G=" + geo_.Root().string(), "--drive", "O=" + out_.Root().string(),
                "--patdat", "G:\\PATDAT", "--yes", "G:\\GEO\\MDT0001.GDF", "O:\\OUT\\P1\\S\\B-1"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    return r.err;
  }
  static void ExpectSays(const std::string& message, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
      EXPECT_NE(message.find(part), std::string::npos) << "missing: " << part << "\n" << message;
    }
  }

  TempDrive geo_{u'G'};
  TempDrive out_{u'O'};
};

TEST_F(DataPlaceCliTest, ATruncatedNdtNamesTheRecordThatStartedOnAnEarlierLine) {
  WriteSection("NDT", {
                          "100,4,5",              // 1: h1, R = 4 records, F = 5 fields
                          "0",                    // 2
                          "5.00,50/12,15,17,18",  // 3: record 1
                          "6.00,11/11,",          // 4: record 2, fields 1-3 (3 is empty)
                          "12",                   // 5: record 2, field 4; field 5 is missing
                      });
  ExpectSays(Stopped(), {"ファイル \"G:\\GEO\\NDT0001.GDF\" のデータが途中で終わっています。",
                         "ファイルは 5 行目で終わっていて、4 行目から始まるレコード 2 件目"
                         "（全 4 件）の 5 項目目がありません。",
                         "1 行目 5 文字目のレコード数「4」に対して、完全にそろっているレコードは "
                         "1 件です。"});
}

TEST_F(DataPlaceCliTest, ATruncatedNdtWithSeveralRecordsOnOneLine) {
  WriteSection("NDT", {
                          "100,4,5",                     // 1
                          "0",                           // 2
                          "5.00,1,2,3,4,6.00,5,6,7,8",   // 3: records 1 and 2
                          "7.00,9,10,11,12,8.00,13,14",  // 4: record 3, record 4 fields 1-3
                      });
  ExpectSays(Stopped(), {"ファイルは 4 行目で終わっていて、4 行目から始まるレコード 4 件目"
                         "（全 4 件）の 4 項目目がありません。",
                         "完全にそろっているレコードは 3 件です。"});
}

TEST_F(DataPlaceCliTest, ACountThatIsNotANumberNamesItsLineAndValue) {
  WriteSection("BDT", {
                          "0,2,2,0,0,0",      // 1: two records of two fields
                          "1.0,5/1,2.0,6/2",  // 2: both records on one line
                          "0,zz,2",           // 3: the second block's record count
                      });
  ExpectSays(Stopped(), {"ファイル \"G:\\GEO\\BDT0001.GDF\" の 3 行目 3 文字目のレコード数「zz」が"
                         "数値ではありません。変換できません。"});
}

TEST_F(DataPlaceCliTest, AFieldCountOverFortyNamesItsLineAndValue) {
  Lines ldt = {
      "0,1,1",  // 1: A = 1, B = 1 record in the second block
      "41,3",   // 2: F1 = 41 fields for the test block
  };
  for (int i = 0; i < 20; ++i) ldt.push_back(",,");
  WriteSection("LDT", ldt);
  ExpectSays(Stopped(), {"ファイル \"G:\\GEO\\LDT0001.GDF\" の 2 行目 1 文字目の項目数「41」が"
                         "上限 40 を超えています。変換できません。"});
}

TEST_F(DataPlaceCliTest, AQuoteThatNeverClosesNamesTheLineWhereItOpened) {
  WriteSection("KDT", {
                          "0,3,2",      // 1: three remarks of two fields
                          "1.0,abc",    // 2: record 1
                          "2.0,\"def",  // 3: record 2, its remark opens a quote at character 5
                          "3.0,ghi",    // 4: swallowed by the quote; record 3 never comes
                      });
  ExpectSays(
      Stopped(),
      {"ファイル \"G:\\GEO\\KDT0001.GDF\" のデータが途中で終わっています。",
       "ファイルは 4 行目で終わっていて、レコード 3 件目（全 3 件）の 1 項目目がありません。",
       "1 行目 3 文字目のレコード数「3」に対して、完全にそろっているレコードは 2 件です。",
       "3 行目 5 文字目で始まる二重引用符「\"」が閉じていないため"});
}

TEST_F(DataPlaceCliTest, TheHeaderCheckMessageStaysAsItIs) {
  WriteSection("KDT", {"0,0"});
  const std::string message = Stopped();
  EXPECT_NE(message.find("エラー `62 ファイルの終わりを越えて読み込もうとしました。"),
            std::string::npos)
      << message;
  EXPECT_NE(message.find("`G:\\GEO\\KDT0001.GDF` のヘッダーが不正です。変換できません"),
            std::string::npos)
      << message;
  EXPECT_EQ(message.find("行目"), std::string::npos) << message;
}

}  // namespace
}  // namespace ostra::test
