// The run report and the trial run (--dry-run) through the command line, on the bundled sample.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

using Files = std::map<std::string, std::string>;

Files Snapshot(const fs::path& root) {
  Files files;
  if (!fs::exists(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    std::string rel = fs::relative(e.path(), root).string();
    files[rel] = e.is_regular_file() ? ReadBytes(e.path()) : "<folder>";
  }
  return files;
}

// The sample data set in W:\GEO (with an empty CDT file, which a real run deletes) and a copy
// of the sample reference folder in W:\PATDAT.
class ReportCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    fs::create_directories(drive_.Host("GEO"));
    for (const char* s : {"MDT", "BDT", "KDT", "NDT", "LDT"}) {
      const std::string name = std::string(s) + "0001.GDF";
      fs::copy_file(ExamplesDir() / name, drive_.Host("GEO/" + name));
    }
    WriteSjis(drive_.Host("GEO/CDT0001.GDF"), "");
  }

  CliResult Convert(const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"--drive", "W=" + drive_.Root().string(), "--patdat",
                                     "W:\\PATDAT"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back("W:\\GEO\\MDT0001.GDF");
    args.push_back("W:\\OUT\\P001\\SITE\\B-1");
    return RunCli(args);
  }

  // The report's lines from its first blank line on (the header names paths, which differ
  // between a trial and a real run).
  static std::string Body(const std::string& out) {
    size_t start = out.find("\n\n");
    return start == std::string::npos ? std::string() : out.substr(out.find("\n\n", start + 2));
  }

  TempDrive drive_{u'W'};
};

TEST_F(ReportCliTest, TheReportListsFilesSectionsAndRegistrations) {
  const fs::path json = drive_.Host("report.json");
  CliResult r = Convert({"--yes", "--report-json", json.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.rfind("変換が正常に終了しました。\n\n変換の記録\n", 0), 0u) << r.out;
  // Every output file with its real line count.
  for (const auto& e : fs::directory_iterator(drive_.Host("OUT/P001/SITE/B-1"))) {
    const std::string name = e.path().filename().string();
    const std::string line =
        "  " + name + "  " + std::to_string(ReadSjisLines(e.path()).size()) + " 行\n";
    EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
  }
  EXPECT_NE(r.out.find("  MDT  MDT0001.GDF  変換しました\n"), std::string::npos);
  EXPECT_NE(r.out.find("  CDT  CDT0001.GDF  空のファイルのため省略し、削除しました\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("  XKISHITU.TXT  2 行追加\n    2002,砂岩泥岩互層,    ,    ,    ,0000\n"
                       "    2003,断層角礫,    ,    ,    ,0000\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  L16.TXT  1 行追加\n     6,鏡肌\n"), std::string::npos) << r.out;

  const std::string j = ReadBytes(json);
  EXPECT_NE(j.find("\"completed\": true"), std::string::npos);
  EXPECT_NE(j.find("{\"file\": \"Titl02.txt\", \"lines\": 41}"), std::string::npos) << j;
  EXPECT_NE(j.find("\"status\": \"empty-deleted\""), std::string::npos);
  EXPECT_NE(j.find("\"added\": [\" 6,鏡肌\"]"), std::string::npos) << j;

  // Converted again, nothing is new.
  r = Convert({"--yes"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("参照フォルダに加えた行:\n  なし\n"), std::string::npos) << r.out;
}

TEST_F(ReportCliTest, ATrialRunTouchesNothingAndTellsWhatARealRunDoes) {
  const Files before = Snapshot(drive_.Root());
  CliResult trial = Convert({"--dry-run"});
  ASSERT_EQ(trial.exitCode, 0) << trial.err;
  EXPECT_EQ(Snapshot(drive_.Root()), before);  // reference folder, data set, no destination
  EXPECT_NE(trial.out.find("実際のファイルは変更していません"), std::string::npos);
  EXPECT_NE(trial.out.find("変換先: W:\\OUT\\P001\\SITE\\B-1\n"), std::string::npos) << trial.out;

  CliResult real = Convert({"--yes"});
  ASSERT_EQ(real.exitCode, 0) << real.err;
  std::string trialBody = Body(trial.out);
  std::string realBody = Body(real.out);
  for (auto* body : {&trialBody, &realBody}) {
    for (const char* word : {"書き込まれるファイル", "書き込んだファイル"}) {
      size_t p = body->find(word);
      if (p != std::string::npos) body->replace(p, std::string(word).size(), "FILES");
    }
    for (const char* word : {"参照フォルダに加わる行", "参照フォルダに加えた行"}) {
      size_t p = body->find(word);
      if (p != std::string::npos) body->replace(p, std::string(word).size(), "TABLES");
    }
  }
  EXPECT_FALSE(realBody.empty());
  EXPECT_EQ(trialBody, realBody);
}

TEST_F(ReportCliTest, ThePictureOfATrialRunIsThePictureOfTheRealOne) {
  const fs::path trialSvg = drive_.Host("trial.svg");
  const fs::path realSvg = drive_.Host("real.svg");
  CliResult trial = Convert({"--dry-run", "--preview", trialSvg.string()});
  ASSERT_EQ(trial.exitCode, 0) << trial.err;
  CliResult real = Convert({"--yes", "--preview", realSvg.string()});
  ASSERT_EQ(real.exitCode, 0) << real.err;
  const std::string svg = ReadBytes(realSvg);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  size_t layers = 0;
  for (size_t p = svg.find("class=\"layer\""); p != std::string::npos;
       p = svg.find("class=\"layer\"", p + 1)) {
    ++layers;
  }
  EXPECT_EQ(layers, ReadSjisLines(drive_.Host("OUT/P001/SITE/B-1/X1.TXT")).size());
  EXPECT_EQ(ReadBytes(trialSvg), svg);
  // A picture that cannot be written makes the exit status 1 after the conversion.
  CliResult r = Convert({"--yes", "--preview", drive_.Host("no/such/folder/x.svg").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("x.svg"), std::string::npos);
}

TEST_F(ReportCliTest, ThePictureIsDrawnAtOneToAHundredOrAtTheScaleAsked) {
  // The height of the first layer's band (1.20 m) in the SVG.
  auto firstBand = [](const std::string& svg) {
    const size_t layer = svg.find("class=\"layer\"");
    const size_t height = svg.find("height=\"", svg.find("<rect", layer)) + 8;
    return std::stod(svg.substr(height, svg.find('"', height) - height));
  };
  const fs::path at100 = drive_.Host("b100.svg");
  const fs::path at500 = drive_.Host("b500.svg");
  ASSERT_EQ(Convert({"--yes", "--preview", at100.string()}).exitCode, 0);
  ASSERT_EQ(Convert({"--yes", "--preview", at500.string(), "--scale", "500"}).exitCode, 0);
  // 1.20 m: 12 mm at 1:100, 2.4 mm at 1:500, at 96 pixels to the inch.
  EXPECT_NEAR(firstBand(ReadBytes(at100)), 12 / 25.4 * 96, 0.06);
  EXPECT_NEAR(firstBand(ReadBytes(at500)), 2.4 / 25.4 * 96, 0.06);
  EXPECT_EQ(Convert({"--yes", "--scale", "0"}).exitCode, 2);
}

TEST_F(ReportCliTest, ATrialRunRefusesWhatTheRunRefuses) {
  const Files before = Snapshot(drive_.Root());
  CliResult r = Convert({"--dry-run", "--drive", "Q=/nonexistent-ostraconv"});
  EXPECT_EQ(r.exitCode, 0) << r.err;  // a trial needs no drive letter of its own
  std::vector<std::string> args = {
      "--drive",   "W=" + drive_.Root().string(), "--patdat",   "W:\\PATDAT",
      "--dry-run", "W:\\GEO\\MDT0001.GDF",        "W:\\MY DATA"};
  r = RunCli(args);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("指定されたパスは正しくありません。"), std::string::npos);
  EXPECT_EQ(Snapshot(drive_.Root()), before);
}

}  // namespace
}  // namespace ostra::test
