// The picture through the command line: a data set drawn without converting it, and the picture
// after a conversion that stopped part-way, real or trial, which says so.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

using Files = std::map<std::string, std::string>;

constexpr const char* kNote = "変換は途中で止まりました";

// The legacy sample in W:\GEO, the 3.00 example in W:\XML, the reference folder in W:\PATDAT.
class PreviewCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    fs::create_directories(drive_.Host("GEO"));
    fs::create_directories(drive_.Host("XML"));
    for (const char* s : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
      const std::string name = std::string(s) + "0001.GDF";
      fs::copy_file(ExamplesDir() / name, drive_.Host("GEO/" + name));
    }
    fs::copy_file(ExamplesDir() / "bed" / "BED0300.XML", drive_.Host("XML/BED0300.XML"));
  }

  CliResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--drive", "W=" + drive_.Root().string()});
    return RunCli(args);
  }
  // Converts the sample into W:\OUT\B-1 with the picture in `svg`.
  CliResult Convert(const std::string& svg, std::vector<std::string> extra = {}) {
    extra.insert(extra.end(), {"--patdat", "W:\\PATDAT", "--yes", "--preview", svg,
                               "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\B-1"});
    return Run(extra);
  }

  TempDrive drive_{u'W'};
};

TEST_F(PreviewCliTest, ADataSetIsDrawnWithoutConvertingIt) {
  const Files before = TreeSnapshot(drive_.Root());
  struct Case {
    std::string source, hole, layer;
  };
  // No reference folder is looked for: none is given and none needs to be found.
  for (const Case& c :
       {Case{"W:\\GEO\\MDT0001.GDF", "B-1", "粘板岩"}, Case{"W:\\XML\\BED0300.XML", "B-2", ""}}) {
    const fs::path svg = drive_.Host("picture.svg");
    const CliResult r = Run({"--preview", svg.string(), c.source});
    ASSERT_EQ(r.exitCode, 0) << c.source << "\n" << r.err;
    const std::string picture = ReadBytes(svg);
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_NE(picture.find(c.hole), std::string::npos) << c.source;
    if (!c.layer.empty()) {
      EXPECT_NE(picture.find(c.layer), std::string::npos) << c.source;
    }
    EXPECT_EQ(picture.find(kNote), std::string::npos);
    fs::remove(svg);
    // Nothing else was written: no destination, no table, no mark beside the program.
    EXPECT_EQ(TreeSnapshot(drive_.Root()), before) << c.source;
  }
  // The data set read in the encoding asked for: the sample's names are code page 932.
  const fs::path svg = drive_.Host("cp932.svg");
  ASSERT_EQ(
      Run({"--encoding", "cp932", "--preview", svg.string(), "W:\\GEO\\MDT0001.GDF"}).exitCode, 0);
  EXPECT_NE(ReadBytes(svg).find("粘板岩"), std::string::npos);

  // A missing source, a section file that is no MDT file, and options that need a conversion.
  const CliResult missing = Run({"--preview", svg.string(), "W:\\GEO\\MDT0009.GDF"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("MDT0009.GDF"), std::string::npos) << missing.err;
  EXPECT_EQ(Run({"--preview", svg.string(), "W:\\GEO\\NDT0001.GDF"}).exitCode, 2);
  EXPECT_EQ(Run({"--dry-run", "--preview", svg.string(), "W:\\GEO\\MDT0001.GDF"}).exitCode, 2);
  EXPECT_EQ(Run({"--report-json", "-", "--preview", svg.string(), "W:\\GEO\\MDT0001.GDF"}).exitCode,
            2);
}

TEST_F(PreviewCliTest, ThePictureAfterAStoppedRunSaysSoUntilARunCompletes) {
  // The NDT file ends part way: MDT, BDT and KDT were converted (X1.TXT written) before the stop.
  const std::string ndt = ReadBytes(drive_.Host("GEO/NDT0001.GDF"));
  WriteBytes(drive_.Host("GEO/NDT0001.GDF"), ndt.substr(0, ndt.size() / 2));
  const fs::path note = drive_.Host("OUT/B-1/OSTRACONV_STOPPED.TXT");

  // A trial writes its note in memory only: the picture says it, the disk does not have it.
  const fs::path trialSvg = drive_.Host("trial.svg");
  const CliResult trial = Convert(trialSvg.string(), {"--dry-run"});
  ASSERT_EQ(trial.exitCode, 1) << trial.err;
  EXPECT_NE(ReadBytes(trialSvg).find(kNote), std::string::npos);
  EXPECT_FALSE(fs::exists(drive_.Host("OUT")));

  const fs::path svg = drive_.Host("stopped.svg");
  const CliResult stopped = Convert(svg.string());
  ASSERT_EQ(stopped.exitCode, 1) << stopped.err;
  ASSERT_TRUE(fs::exists(drive_.Host("OUT/B-1/X1.TXT")));
  ASSERT_TRUE(fs::exists(note));
  const std::string picture = ReadBytes(svg);
  const size_t at = picture.find(kNote);
  ASSERT_NE(at, std::string::npos);
  // The reason as the run gave it: the file it stopped on.
  EXPECT_NE(picture.find("NDT0001.GDF", at), std::string::npos);
  EXPECT_NE(picture.find("B-1"), std::string::npos);

  // The picture of the destination's data set alone knows no destination: no note.
  const fs::path plain = drive_.Host("plain.svg");
  ASSERT_EQ(Run({"--preview", plain.string(), "W:\\GEO\\MDT0001.GDF"}).exitCode, 0);
  EXPECT_EQ(ReadBytes(plain).find(kNote), std::string::npos);

  // Repaired and converted again: the note is gone, and so is its word in the picture.
  WriteBytes(drive_.Host("GEO/NDT0001.GDF"), ndt);
  const CliResult done = Convert(svg.string());
  ASSERT_EQ(done.exitCode, 0) << done.err;
  EXPECT_FALSE(fs::exists(note));
  EXPECT_EQ(ReadBytes(svg).find(kNote), std::string::npos);
}

}  // namespace
}  // namespace ostra::test
