// Soil-name lookup in KISHITU.TXT/XKISHITU.TXT, registration of new names and X1.TXT.
#include <gtest/gtest.h>

#include "convert/strata.h"
#include "env/host_env.h"
#include "run/error_text.h"
#include "strata_fixture.h"

namespace ostra::test {
namespace {

const std::string kBlanks = "    ,    ,    ,0000";

class SoilNameTest : public StrataTest {
 protected:
  SoilNameTest() {
    Table("KISHITU.TXT", {});
    Table("XKISHITU.TXT", {});
  }

  // Converts the names as one run (counter from 1, depth "12.50"); returns the X1.TXT lines.
  std::vector<std::string> Convert(const std::vector<Text>& names) {
    OutputFile x1(drive_.Files(), Out("X1.TXT"));
    for (const Text& name : names) ConvertSoilName(env_, x1, u"12.50", name);
    x1.Close();
    return OutLines("X1.TXT");
  }
  // The code written for a single name.
  std::string CodeOf(const Text& name) {
    const std::string line = Convert({name}).at(0);
    return line.substr(12, line.find(',', 12) - 12);
  }
};

TEST_F(SoilNameTest, WritesTheX1LineWithTheFoundCode) {
  Table("KISHITU.TXT", {"5012,花崗岩（粗粒）,a,b,c,0001", "1001,砂岩,,,,0000"});
  OutputFile x1(drive_.Files(), Out("X1.TXT"), 3);
  ConvertSoilName(env_, x1, u"12.50", u"花崗岩");
  x1.Close();
  EXPECT_EQ(x1.Number(), 4);
  EXPECT_EQ(OutLines("X1.TXT"), (std::vector<std::string>{"  3,  12.50,5012,花崗岩"}));
  // A name found in KISHITU.TXT writes to no dictionary.
  EXPECT_EQ(TableLines("KISHITU.TXT").size(), 2u);
  EXPECT_TRUE(TableLines("XKISHITU.TXT").empty());
}

TEST_F(SoilNameTest, EmptyNameWritesNothingAndReadsNoDictionary) {
  fs::remove(drive_.Host("PATDAT/KISHITU.TXT"));
  fs::remove(drive_.Host("PATDAT/XKISHITU.TXT"));
  EXPECT_TRUE(Convert({u"", u""}).empty());
  EXPECT_FALSE(TableExists("KISHITU.TXT"));
}

TEST_F(SoilNameTest, RangesAreSearchedInOrder) {
  Table("KISHITU.TXT", {"0100,砂岩,,,,", "1500,砂岩,,,,", "5100,砂岩,,,,", "0200,泥岩,,,,",
                        "3999,泥岩,,,,", "0999,礫岩,,,,"});
  EXPECT_EQ(Convert({u"砂岩", u"泥岩", u"礫岩"}),
            (std::vector<std::string>{"  1,  12.50,5100,砂岩", "  2,  12.50,3999,泥岩",
                                      "  3,  12.50,0999,礫岩"}));
}

TEST_F(SoilNameTest, CodesOutsideTheRangesNeverMatch) {
  Table("KISHITU.TXT", {"4500,砂岩,,,,", "6000,砂岩,,,,", "0000,砂岩,,,,", "ABCD,砂岩,,,,",
                        "5500,砂岩,,,,", "4999,砂岩,,,,"});
  EXPECT_EQ(CodeOf(u"砂岩"), "2000");
}

TEST_F(SoilNameTest, AContainedNameIsNotAnExactMatch) {
  Table("KISHITU.TXT", {"1001,砂岩,,,,"});
  EXPECT_EQ(CodeOf(u"細粒砂岩"), "2000");
  EXPECT_EQ(TableLines("XKISHITU.TXT"), (std::vector<std::string>{"2000,細粒砂岩," + kBlanks}));
}

TEST_F(SoilNameTest, RegistersIntoEmptyDictionaryFrom2000) {
  EXPECT_EQ(Convert({u"砂質泥岩", u"凝灰角礫岩", u"砂質泥岩"}),
            (std::vector<std::string>{"  1,  12.50,2000,砂質泥岩", "  2,  12.50,2001,凝灰角礫岩",
                                      "  3,  12.50,2000,砂質泥岩"}));
  const std::vector<std::string> expected = {"2000,砂質泥岩," + kBlanks,
                                             "2001,凝灰角礫岩," + kBlanks};
  EXPECT_EQ(TableLines("XKISHITU.TXT"), expected);
  EXPECT_EQ(TableLines("KISHITU.TXT"), expected);
  EXPECT_FALSE(TableExists("XKISHITU.TMP"));  // nor any other temporary file: see the link test
}

TEST_F(SoilNameTest, InsertsInFrontOfTheFirstReservedCode) {
  Table("XKISHITU.TXT", {"2000,甲,,,,", "2001,乙,,,,", "4000,丙,,,,", "2500,丁,,,,"});
  EXPECT_EQ(CodeOf(u"新岩"), "2002");
  EXPECT_EQ(TableLines("XKISHITU.TXT"),
            (std::vector<std::string>{"2000,甲,,,,", "2001,乙,,,,", "2002,新岩," + kBlanks,
                                      "4000,丙,,,,", "2500,丁,,,,"}));
}

TEST_F(SoilNameTest, BlankLinesAtTheEndOfTheExtensionAreNoEntries) {
  // Enter pressed after the last entry, and blanks and a Ctrl-Z on lines of their own.
  for (const std::vector<std::string>& end :
       {std::vector<std::string>{""}, std::vector<std::string>{"", ""},
        std::vector<std::string>{"  ", "\x1A"}}) {
    std::vector<std::string> lines = {"2000,甲," + kBlanks, "2001,乙," + kBlanks};
    lines.insert(lines.end(), end.begin(), end.end());
    Table("KISHITU.TXT", {"1001,砂岩,,,,0000"});
    Table("XKISHITU.TXT", lines);
    EXPECT_EQ(CodeOf(u"新岩"), "2002");
    EXPECT_EQ(CodeOf(u"新岩二"), "2003");
    EXPECT_EQ(TableLines("XKISHITU.TXT"),
              (std::vector<std::string>{"2000,甲," + kBlanks, "2001,乙," + kBlanks,
                                        "2002,新岩," + kBlanks, "2003,新岩二," + kBlanks}));
  }
}

#ifndef _WIN32
TEST_F(SoilNameTest, TheRewriteFollowsNoLinkAndMindsNoStaleFile) {
  Table("KISHITU.TXT", {"1001,砂岩,,,,0000"});
  Table("XKISHITU.TXT", {"2000,甲," + kBlanks, "4000,予約," + kBlanks});
  // A link planted where the old program wrote its temporary file, and files left by others.
  test::WriteSjis(drive_.Host("victim.txt"), "keep\r\n");
  fs::create_symlink(drive_.Host("victim.txt"), drive_.Host("PATDAT/XKISHITU.TMP"));
  EXPECT_EQ(CodeOf(u"新岩"), "2001");
  EXPECT_EQ(test::ReadBytes(drive_.Host("victim.txt")), "keep\r\n");
  EXPECT_EQ(TableLines("XKISHITU.TXT"),
            (std::vector<std::string>{"2000,甲," + kBlanks, "2001,新岩," + kBlanks,
                                      "4000,予約," + kBlanks}));
  size_t temporaries = 0;
  for (const auto& e : fs::directory_iterator(drive_.Host("PATDAT"))) {
    temporaries += e.path().extension() == ".TMP";
  }
  EXPECT_EQ(temporaries, 1u);  // only the planted link
}
#endif

TEST_F(SoilNameTest, LowCodesGiveWayTo2000) {
  Table("XKISHITU.TXT", {"0150,甲,,,,", "memo,,,,,"});
  EXPECT_EQ(CodeOf(u"新岩"), "2000");
  EXPECT_EQ(TableLines("XKISHITU.TXT"),
            (std::vector<std::string>{"0150,甲,,,,", "memo,,,,,", "2000,新岩," + kBlanks}));
}

TEST_F(SoilNameTest, FoundInExtensionIsAppendedToMain) {
  Table("KISHITU.TXT", {"1001,砂岩,,,,"});
  Table("XKISHITU.TXT", {"2005,泥岩（風化）,    ,    ,    ,0000"});
  const auto patadd =
      HostPath(drive_.Files().ToHost(drive_.Files().ProgramFolder())) / "PATADD.txt";
  fs::remove(patadd);
  EXPECT_EQ(CodeOf(u"泥岩"), "2005");
  EXPECT_EQ(TableLines("KISHITU.TXT"),
            (std::vector<std::string>{"1001,砂岩,,,,", "2005,泥岩,,,,0000"}));
  EXPECT_EQ(TableLines("XKISHITU.TXT"),
            (std::vector<std::string>{"2005,泥岩（風化）,    ,    ,    ,0000"}));
  EXPECT_TRUE(fs::exists(patadd));
  EXPECT_EQ(fs::file_size(patadd), 0u);
  EXPECT_TRUE(ui_.warnings.empty());
}

TEST_F(SoilNameTest, AnnotatedNameIsRegisteredOnce) {
  EXPECT_EQ(Convert({u"花崗岩（粗粒）", u"花崗岩（粗粒）"}),
            (std::vector<std::string>{"  1,  12.50,2000,花崗岩（粗粒）",
                                      "  2,  12.50,2000,花崗岩（粗粒）"}));
  // A later conversion finds it too.
  EXPECT_EQ(CodeOf(u"花崗岩（粗粒）"), "2000");
  EXPECT_EQ(TableLines("XKISHITU.TXT"),
            (std::vector<std::string>{"2000,花崗岩（粗粒）," + kBlanks}));
  EXPECT_EQ(TableLines("KISHITU.TXT"),
            (std::vector<std::string>{"2000,花崗岩（粗粒）," + kBlanks}));
  // The cut name still matches the annotated entry.
  EXPECT_EQ(CodeOf(u"花崗岩"), "2000");
}

TEST_F(SoilNameTest, WholeNameMatchInExtensionKeepsItsAnnotation) {
  Table("XKISHITU.TXT", {"2003,花崗岩（粗粒）,x,y,z,0001"});
  EXPECT_EQ(CodeOf(u"花崗岩（粗粒）"), "2003");
  EXPECT_EQ(TableLines("KISHITU.TXT"),
            (std::vector<std::string>{"2003,花崗岩（粗粒）,x,y,z,0001"}));
}

TEST_F(SoilNameTest, NamesThatNeedQuotesReadBack) {
  EXPECT_EQ(Convert({u"砂岩,泥岩互層", u"砂岩,泥岩互層", u" 礫岩"}),
            (std::vector<std::string>{"  1,  12.50,2000,砂岩,泥岩互層",
                                      "  2,  12.50,2000,砂岩,泥岩互層", "  3,  12.50,2001, 礫岩"}));
  const std::vector<std::string> expected = {"2000,\"砂岩,泥岩互層\"," + kBlanks,
                                             "2001,\" 礫岩\"," + kBlanks};
  EXPECT_EQ(TableLines("XKISHITU.TXT"), expected);
  EXPECT_EQ(TableLines("KISHITU.TXT"), expected);
  // The entries after the quoted ones still read as they should.
  EXPECT_EQ(CodeOf(u"泥岩"), "2002");
}

TEST_F(SoilNameTest, NoFreeCodeBelow4000StopsWithFilesIntact) {
  Table("XKISHITU.TXT", {"3998,甲,,,,", "3999,乙,,,,", "4000,丙,,,,"});
  const std::string before = ReadBytes(drive_.Host("PATDAT/XKISHITU.TXT"));
  OutputFile x1(drive_.Files(), Out("X1.TXT"));
  try {
    ConvertSoilName(env_, x1, u"1.00", u"新岩");
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(ErrorMessage(e).find(u"XKISHITU.TXT"), Text::npos);
    EXPECT_NE(ErrorMessage(e).find(u"4000"), Text::npos);
  }
  x1.Close();
  EXPECT_EQ(x1.Number(), 1);
  EXPECT_TRUE(OutLines("X1.TXT").empty());
  EXPECT_EQ(ReadBytes(drive_.Host("PATDAT/XKISHITU.TXT")), before);
  EXPECT_TRUE(TableLines("KISHITU.TXT").empty());
  EXPECT_FALSE(TableExists("XKISHITU.TMP"));  // nor any other temporary file: see the link test
}

TEST_F(SoilNameTest, MissingDictionaryStopsTheRunNamingIt) {
  fs::remove(drive_.Host("PATDAT/XKISHITU.TXT"));
  Table("KISHITU.TXT", {"1001,砂岩,,,,"});
  EXPECT_EQ(CodeOf(u"砂岩"), "1001");  // not needed for a name found in KISHITU.TXT
  for (const char* missing : {"XKISHITU.TXT", "KISHITU.TXT"}) {
    fs::remove(drive_.Host(std::string("PATDAT/") + missing));
    NewRun();
    try {
      Convert({u"新岩"});
      ADD_FAILURE() << "no error without " << missing;
    } catch (const RunError& e) {
      EXPECT_NE(ErrorMessage(e).find(env_.Table(U16(missing))), Text::npos) << U8(ErrorMessage(e));
    }
  }
}

TEST_F(SoilNameTest, UnwritableProgramFolderIsNotedWithoutAWarning) {
  // Without a drive for the program's folder the marker cannot be created.
  drive_.Files().Drives().Remove(u'Z');
  Convert({u"甲", u"乙", u"甲"});
  EXPECT_TRUE(ui_.warnings.empty());
  EXPECT_EQ(env_.markerNotWritten.substr(env_.markerNotWritten.size() - 11), u"\\PATADD.txt");
  const RunEnv previous = env_;
  env_ = RunEnv();  // the next run starts afresh
  env_.patdatFolder = previous.patdatFolder;
  env_.ui = &ui_;
  env_.files = previous.files;
  NewRun();
  Convert({u"丙"});
  EXPECT_TRUE(ui_.warnings.empty());
  EXPECT_EQ(env_.markerNotWritten, previous.markerNotWritten);
  EXPECT_EQ(TableLines("XKISHITU.TXT").size(), 3u);
}

}  // namespace
}  // namespace ostra::test
