// Reading the picture's contents from the files of a destination folder on a temporary drive.
#include "preview/boring_log_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "env/drives.h"
#include "support/test_support.h"

namespace ostra {
namespace {

using test::TempDrive;
using test::WriteSjisLines;

class BoringLogModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_ = std::make_unique<TempDrive>(u'T');
    std::filesystem::create_directories(drive_->Host("OUT"));
  }

  void Put(const std::string& name, const std::vector<std::string>& lines) {
    WriteSjisLines(drive_->Host("OUT/" + name), lines);
  }

  void PutOneLayer() { Put("X1.TXT", {"  1,  20.00,0002,表土"}); }

  std::unique_ptr<TempDrive> drive_;
};

// An X7.txt line of 68 fields with the kind's name in fields `nameField` and `nameField` + 1.
std::string X7Line(const std::string& from, const std::string& to, size_t nameField,
                   const std::string& name) {
  std::vector<std::string> f(69);
  f[1] = "  1";
  f[5] = from;
  f[6] = to;
  if (nameField > 0) f[nameField] = f[nameField + 1] = name;
  std::string line = f[1];
  for (size_t i = 2; i <= 68; ++i) line += "," + f[i];
  return line;
}

TEST_F(BoringLogModelTest, AMissingFolderGivesAnEmptyModelThatNamesIt) {
  for (const Text& folder : {Text(u"T:\\NO\\SUCH"), Text(u"T:\\NO\\SUCH\\")}) {
    const BoringLogModel model = ReadBoringLogModel(drive_->Files(), folder);
    EXPECT_EQ(model.folder, u"T:\\NO\\SUCH\\");
    EXPECT_TRUE(model.header.empty());
    EXPECT_TRUE(model.layers.empty());
    EXPECT_TRUE(model.classes.empty());
  }
}

TEST_F(BoringLogModelTest, LayersRunFromTheBottomOfTheLastUsableLayer) {
  Put("X1.TXT",
      {"  1,   2.00, 0002 ,　表土　", "", "  2,    abc,5001,砂岩", "  3,  １２．５０,5002,泥岩"});
  const BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  ASSERT_EQ(model.layers.size(), 2u);
  EXPECT_EQ(model.layers[0].top, 0);
  EXPECT_EQ(model.layers[0].bottom, 2);
  EXPECT_EQ(model.layers[0].depthText, u"2.00");
  EXPECT_EQ(model.layers[0].code, u"0002");
  EXPECT_EQ(model.layers[0].name, u"表土");
  EXPECT_EQ(model.layers[1].top, 2);
  EXPECT_EQ(model.layers[1].bottom, 12.5);  // full-width numerals
  EXPECT_EQ(model.layers[1].depthText, u"１２．５０");
}

TEST_F(BoringLogModelTest, ClassColumnsHoldTheRangesOfTheirFile) {
  PutOneLayer();
  Put("X3.TXT", {"  1,   4.50,0102  ,CL,0103  ,CM,～", "  2,   7.80,0104  ,CH,      ,,",
                 "  3,   8.00,  ,,  ,", "  4,    x,1,CL,,"});
  Put("R35.TXT", {"  1,   1.20,5,　ＣＬ,4,ＣＭ　"});
  const BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  ASSERT_EQ(model.classes.size(), 6u);
  for (int i = 0; i < kClassColumns; ++i) EXPECT_EQ(model.classes[i].file, kClassFiles[i]);
  EXPECT_EQ(model.classes[0].file, u"X3.TXT");
  EXPECT_EQ(model.classes[5].file, u"R35.TXT");
  // Lines without a class or without a depth are left out.
  ASSERT_EQ(model.classes[0].lines.size(), 2u);
  EXPECT_EQ(model.classes[0].lines[0].bottom, 4.5);
  EXPECT_EQ(model.classes[0].lines[0].text, u"CL～CM");
  EXPECT_EQ(model.classes[0].lines[1].text, u"CH");
  for (int i = 1; i < 5; ++i) EXPECT_TRUE(model.classes[i].lines.empty());
  ASSERT_EQ(model.classes[5].lines.size(), 1u);
  EXPECT_EQ(model.classes[5].lines[0].text, u"ＣＬ～ＣＭ");
}

TEST_F(BoringLogModelTest, NValuesComeFromTheFourthFieldInDepthOrder) {
  PutOneLayer();
  Put("X5.TXT", {"  1,   6.45, 11, 30", "  2,   1.45, 12, 12", "  3,   4.45, 50,",
                 "  4,   1.45, 9, 7", "  5,   1.45, 9, 12.5"});
  const BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  ASSERT_EQ(model.nValues.size(), 4u);
  EXPECT_EQ(model.nValues[0].depth, 1.45);
  EXPECT_EQ(model.nValues[0].n, 12);
  EXPECT_EQ(model.nValues[1].n, 7);  // equal depths keep their order
  EXPECT_EQ(model.nValues[2].n, 12.5);
  EXPECT_EQ(model.nValues[3].depth, 6.45);
  EXPECT_EQ(model.nValues[3].n, 30);
}

TEST_F(BoringLogModelTest, NValuesKeepTheBlowsAndPenetrationAsRecorded) {
  PutOneLayer();
  // Sequence, depth, blows, N, penetration: "50/12" gives N 125, "12" (30 cm) stays "12".
  Put("X5.TXT", {"  1,   5.00, 50,125, 12, 15, 10, 17, 10, 18, 10",
                 "  2,   6.00, 12, 12, 30,   ,   ,   ,   ,   ,   ",
                 "  3,   7.00, 10, 10,  0,   ,   ,   ,   ,   ,   "});
  const BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  ASSERT_EQ(model.nValues.size(), 3u);
  EXPECT_EQ(model.nValues[0].n, 125);
  EXPECT_EQ(model.nValues[0].recorded, u"50/12");
  EXPECT_EQ(model.nValues[1].recorded, u"12");
  EXPECT_EQ(model.nValues[2].recorded, u"10");
}

TEST_F(BoringLogModelTest, TestsAndSamplesAreMarksInDepthOrder) {
  PutOneLayer();
  Put("X7.txt",
      {X7Line("   5.00", "   6.00", 31, "　透水試験"), X7Line("   3.00", "   0.00", 47, "載荷"),
       X7Line("   4.00", "   4.50", 0, ""), X7Line("    x", "   1.00", 29, "x")});
  Put("N6.TMP",
      {"  1,A-1   ,  ,   6.20,   6.50,   ,   ,010000000000000",
       "  2,      ,  ,   5.00,   0.00,   ,   ,100000000000000",
       "  3,      ,  ,   7.00,   7.50,   ,   ,001", "  4,      ,  ,   7.10,   7.50,   ,   ,0001",
       "  5,      ,  ,   7.20,   7.50,   ,   ,00001",
       "  6,      ,  ,   7.30,   7.50,   ,   ,0000001",
       "  7,      ,  ,   7.40,   7.50,   ,   ,00000001",
       "  8,      ,  ,   7.50,   7.60,   ,   ,0"});
  const BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  ASSERT_EQ(model.marks.size(), 11u);
  const Mark& first = model.marks[0];
  EXPECT_FALSE(first.sample);
  EXPECT_EQ(first.from, 3);
  EXPECT_FALSE(first.to.has_value());  // "to" 0: none
  EXPECT_EQ(first.label, u"載荷");
  EXPECT_EQ(model.marks[1].label, u"試験");  // no kind named
  EXPECT_EQ(model.marks[1].to.value_or(0), 4.5);
  // At equal depths the tests come before the samples.
  EXPECT_EQ(model.marks[2].label, u"透水試験");
  EXPECT_TRUE(model.marks[3].sample);
  EXPECT_EQ(model.marks[3].from, 5);
  EXPECT_EQ(model.marks[3].label, u"物理");
  EXPECT_EQ(model.marks[4].label, u"一軸 A-1");
  std::vector<Text> kinds;
  for (size_t i = 5; i < model.marks.size(); ++i) kinds.push_back(model.marks[i].label);
  EXPECT_EQ(kinds, (std::vector<Text>{u"三軸", u"圧密", u"試料", u"特殊", u"動的", u"試料"}));
}

TEST_F(BoringLogModelTest, RemarksAreCutIntoDisplayLinesOfThirtyBytes) {
  PutOneLayer();
  Put("X12.TXT",
      {"  1,   7.00,\"亀裂少なく良好　　　　　　　　\"",
       "  2,   2.50,\"あいうえおかきくけこさしすせそ　　　　　　　　　　　　　　　たちつてと\"",
       "  3,   3.00,\"　　　\"", "  4,    x,\"記事\""});
  const BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  ASSERT_EQ(model.remarks.size(), 2u);
  EXPECT_EQ(model.remarks[0].depth, 2.5);
  EXPECT_EQ(model.remarks[0].lines,
            (std::vector<Text>{u"あいうえおかきくけこさしすせそ", u"たちつてと"}));
  EXPECT_EQ(model.remarks[1].depth, 7);
  EXPECT_EQ(model.remarks[1].lines, (std::vector<Text>{u"亀裂少なく良好"}));
}

TEST_F(BoringLogModelTest, TheHeaderHoldsTheTitleItemsPresent) {
  std::vector<std::string> t1 = {"調査業務", "トンネル", "",   "1998",  " 5", "11", "", "",    "",
                                 "B-1",      " 35",      "34", "   52", "",   "",   "", "地内"};
  t1.resize(23);
  t1[20] = "215.40";
  t1[21] = "30.00";
  std::vector<std::string> t2(41);
  t2[28] = "相武地質調査株式会社";
  t2[39] = "53392290";
  Put("Titl01.txt", t1);
  Put("Titl02.txt", t2);
  BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  std::vector<Text> items;
  for (const TitleItem& item : model.header) items.push_back(item.label + u"=" + item.value);
  EXPECT_EQ(items, (std::vector<Text>{u"調査名=調査業務", u"地点=トンネル", u"孔名=B-1",
                                      u"孔口標高=215.40 m", u"掘進長=30.00 m",
                                      u"調査期間=1998年5月11日 ～ ", u"所在地=地内",
                                      u"緯度経度=北緯 35°34′52″", u"メッシュコード=53392290",
                                      u"調査会社=相武地質調査株式会社"}));

  // Items without a value are left out.
  Put("Titl01.txt", {});
  model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  ASSERT_EQ(model.header.size(), 2u);
  EXPECT_EQ(model.header[0].label, u"メッシュコード");
}

TEST_F(BoringLogModelTest, WithoutLayersNothingButTheHeaderIsRead) {
  Put("Titl02.txt", std::vector<std::string>(40, "53392290"));
  Put("X3.TXT", {"  1,   4.50,0102  ,CL,0103  ,CM,～"});
  Put("X5.TXT", {"  1,   1.45, 12, 12"});
  Put("X12.TXT", {"  1,   2.50,\"記事\""});
  const BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  EXPECT_EQ(model.header.size(), 3u);  // client, company and grid square: lines 1, 29 and 40
  EXPECT_TRUE(model.classes.empty());
  EXPECT_TRUE(model.nValues.empty());
  EXPECT_TRUE(model.remarks.empty());
}

TEST_F(BoringLogModelTest, AFolderInThePlaceOfAFileReadsAsNothing) {
  PutOneLayer();
  std::filesystem::create_directories(drive_->Host("OUT/X5.TXT"));
  std::filesystem::create_directories(drive_->Host("OUT/Titl01.txt"));
  Put("X12.TXT", {"  1,   1.00,\"abc\""});
  const BoringLogModel model = ReadBoringLogModel(drive_->Files(), u"T:\\OUT");
  EXPECT_TRUE(model.header.empty());
  EXPECT_TRUE(model.nValues.empty());
  EXPECT_EQ(model.layers.size(), 1u);
  EXPECT_EQ(model.remarks.size(), 1u);
}

}  // namespace
}  // namespace ostra
