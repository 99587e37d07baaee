// The run report and the trial run (--dry-run) through the command line, on the bundled sample.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

using Files = std::map<std::string, std::string>;
using Json = nlohmann::json;

Json ReadJson(const fs::path& file) {
  return Json::parse(ReadBytes(file));
}

// The entry of `array` whose member `key` is `value`; null when there is none.
Json Find(const Json& array, const std::string& key, const std::string& value) {
  for (const Json& e : array) {
    if (e.value(key, std::string()) == value) return e;
  }
  return nullptr;
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
  EXPECT_NE(r.out.find("  CDT  CDT0001.GDF  空のファイルのため省略しました\n"), std::string::npos);
  EXPECT_NE(r.out.find("  XKISHITU.TXT  2 行追加\n    2002,砂岩泥岩互層,    ,    ,    ,0000\n"
                       "    2003,断層角礫,    ,    ,    ,0000\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  L16.TXT  1 行追加\n     6,鏡肌\n"), std::string::npos) << r.out;

  const Json j = ReadJson(json);
  EXPECT_EQ(j["schema"], 1);
  EXPECT_EQ(j["completed"], true);
  const Json titl02 = Find(j["outputs"], "file", "Titl02.txt");
  EXPECT_EQ(titl02["lines"], 41) << j;
  const fs::path titl02Host = drive_.Host("OUT/P001/SITE/B-1/Titl02.txt");
  EXPECT_EQ(titl02["bytes"], fs::file_size(titl02Host));
  EXPECT_EQ(fs::path(titl02["path"]["host"].get<std::string>()), titl02Host);
  EXPECT_EQ(titl02["path"]["drive"], "W:\\OUT\\P001\\SITE\\B-1\\Titl02.txt");
  EXPECT_EQ(Find(j["sections"], "section", "CDT")["status"], "empty-skipped");
  const Json l16 = Find(j["tables"], "file", "L16.TXT");
  ASSERT_EQ(l16["added"].size(), 1u) << j;
  EXPECT_EQ(l16["added"][0]["line"], " 6,鏡肌");
  EXPECT_EQ(l16["added"][0]["code"], "6");
  EXPECT_EQ(l16["added"][0]["name"], "鏡肌");

  // Converted again, nothing is new.
  r = Convert({"--yes"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("参照フォルダに加えた行:\n  なし\n"), std::string::npos) << r.out;
}

TEST_F(ReportCliTest, ATrialRunTouchesNothingAndTellsWhatARealRunDoes) {
  const Files before = TreeSnapshot(drive_.Root());
  CliResult trial = Convert({"--dry-run"});
  ASSERT_EQ(trial.exitCode, 0) << trial.err;
  EXPECT_EQ(TreeSnapshot(drive_.Root()), before);  // reference folder, data set, no destination
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
  const Files before = TreeSnapshot(drive_.Root());
  CliResult r = Convert({"--dry-run", "--drive", "Q=/nonexistent-ostraconv"});
  EXPECT_EQ(r.exitCode, 0) << r.err;  // a trial needs no drive letter of its own
  std::vector<std::string> args = {
      "--drive",   "W=" + drive_.Root().string(), "--patdat",   "W:\\PATDAT",
      "--dry-run", "W:\\GEO\\MDT0001.GDF",        "W:\\MY DATA"};
  r = RunCli(args);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("指定されたパスは正しくありません。"), std::string::npos);
  EXPECT_EQ(TreeSnapshot(drive_.Root()), before);
}

TEST_F(ReportCliTest, AStoppedRunReportsWhatItHadWrittenAndRegistered) {
  // The LDT file ends part way: MDT to NDT are converted, and their names registered, first.
  const std::string ldt = ReadBytes(drive_.Host("GEO/LDT0001.GDF"));
  WriteBytes(drive_.Host("GEO/LDT0001.GDF"), ldt.substr(0, ldt.size() * 6 / 10));
  const fs::path json = drive_.Host("report.json");
  CliResult r = Convert({"--yes", "--report-json", json.string()});
  ASSERT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("LDT0001.GDF"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("変換は途中で中止されました。\n理由: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    2002,砂岩泥岩互層,"), std::string::npos) << r.out;
  // Nothing already written is removed, and the report names each such file; beside them, the
  // note that the outputs are those of a stopped run, which is no output.
  const fs::path out = drive_.Host("OUT/P001/SITE/B-1");
  EXPECT_TRUE(fs::exists(out / "OSTRACONV_STOPPED.TXT"));
  int listed = 0;
  for (const auto& e : fs::directory_iterator(out)) {
    const std::string name = e.path().filename().string();
    if (name == "OSTRACONV_STOPPED.TXT") continue;
    EXPECT_NE(r.out.find("  " + name + "  "), std::string::npos) << name << r.out;
    ++listed;
  }
  EXPECT_GE(listed, 5);

  const Json j = ReadJson(json);
  EXPECT_EQ(j["completed"], false);
  EXPECT_EQ(j["error"]["kind"], "data");
  EXPECT_EQ(j["error"]["file"]["drive"], "W:\\GEO\\LDT0001.GDF");
  EXPECT_NE(j["error"]["message"].get<std::string>().find("LDT0001.GDF"), std::string::npos);
  // Where in the file, as separate members.
  ASSERT_TRUE(j["error"]["line"].is_number()) << j["error"];
  EXPECT_GT(j["error"]["line"], 1);
  EXPECT_GT(j["error"]["record"], 0);
  EXPECT_GT(j["error"]["recordCount"], 0);
  EXPECT_GT(j["error"]["field"], 0);
  EXPECT_GT(Find(j["outputs"], "file", "X1.TXT")["lines"], 0) << j;
  const Json added = Find(j["tables"], "file", "XKISHITU.TXT")["added"];
  ASSERT_FALSE(added.empty()) << j;
  EXPECT_EQ(added[0]["name"], "砂岩泥岩互層");
  EXPECT_EQ(added[0]["attributes"], Json({"", "", "", "0000"}));
}

TEST_F(ReportCliTest, TheReportOfEveryStopSaysWhatItWasAbout) {
  const fs::path json = drive_.Host("report.json");
  // No --yes and no terminal: the destination is not created.
  CliResult r = Convert({"--report-json", json.string()});
  ASSERT_EQ(r.exitCode, 1);
  Json j = ReadJson(json);
  EXPECT_EQ(j["error"]["kind"], "declined");
  EXPECT_TRUE(j["outputs"].empty());
  EXPECT_EQ(r.out, "");  // nothing done, nothing to report on the terminal

  fs::remove(drive_.Host("PATDAT/L16.TXT"));
  r = Convert({"--yes", "--report-json", json.string()});
  ASSERT_EQ(r.exitCode, 1);
  j = ReadJson(json);
  EXPECT_EQ(j["error"]["kind"], "reference-folder");
  EXPECT_EQ(j["error"]["file"]["drive"], "W:\\PATDAT\\L16.TXT");
}

TEST_F(ReportCliTest, FilesOfAnEarlierConversionAreNamedAndKept) {
  // This data set has no CDT records: R41.TXT is not written, yet the target system would
  // take an old one in the folder as this boring's.
  const fs::path out = drive_.Host("OUT/P001/SITE/B-1");
  fs::create_directories(out);
  WriteSjis(out / "R41.TXT", "old\r\n");
  WriteSjis(out / "memo.txt", "mine\r\n");
  const fs::path json = drive_.Host("report.json");
  CliResult r = Convert({"--yes", "--report-json", json.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("今回の変換では書き込まなかったファイルがあります: R41.TXT。"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.err.find("memo.txt"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("\n警告:\n  変換先フォルダに、"), std::string::npos) << r.out;
  EXPECT_NE(ReadJson(json)["warnings"][0]["message"].get<std::string>().find(
                "書き込まなかったファイルがあります: R41.TXT"),
            std::string::npos);
  EXPECT_EQ(ReadBytes(out / "R41.TXT"), "old\r\n");
  EXPECT_EQ(ReadBytes(out / "memo.txt"), "mine\r\n");

  // Converted again with nothing left over, nothing is said.
  fs::remove(out / "R41.TXT");
  r = Convert({"--yes"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("書き込まなかった"), std::string::npos) << r.err;
}

TEST_F(ReportCliTest, AReportThatCannotBeWrittenCostsOnlyTheReportAndSaysSoInTheExitStatus) {
  CliResult r = Convert({"--yes", "--report-json", drive_.Host("no/such/r.json").string()});
  EXPECT_EQ(r.exitCode, 4) << r.err;
  EXPECT_NE(r.out.find("変換が正常に終了しました。"), std::string::npos);
  EXPECT_NE(r.err.find("r.json"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace ostra::test
