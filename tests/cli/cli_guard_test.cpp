// What the command line guards: the report file never lands on what a conversion reads, the
// terminal gets no raw control characters from paths, and --encoding overrides the guess.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

using Files = std::map<std::string, std::string>;

Files Snapshot(const fs::path& root) {
  Files files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadBytes(e.path());
  }
  return files;
}

class CliGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    fs::create_directories(drive_.Host("GEO"));
    for (const char* s : {"MDT", "BDT", "KDT", "NDT", "LDT"}) {
      const std::string name = std::string(s) + "0001.GDF";
      fs::copy_file(ExamplesDir() / name, drive_.Host("GEO/" + name));
    }
  }
  std::vector<std::string> With(std::vector<std::string> args) {
    args.insert(args.begin(),
                {"--drive", "W=" + drive_.Root().string(), "--patdat", "W:\\PATDAT", "--yes"});
    return args;
  }
  TempDrive drive_{u'W'};
};

TEST_F(CliGuardTest, AReportFileOnTheReferenceFolderOrTheDataSetIsRefusedBeforeAnythingRuns) {
  const Files before = Snapshot(drive_.Root());
  WriteSjisLines(drive_.Host("list.csv"), {"W:\\GEO\\MDT0001.GDF,W:\\OUT\\B-1"});
  const std::vector<std::string> reports = {
      drive_.Host("patdat/xkishitu.txt").string(),  // another spelling of a table
      drive_.Host("PATDAT/new.json").string(),      // a new file in the folder
      "w:\\patdat\\..\\PATDAT\\L1.TXT",
      "W:\\GEO\\KDT0001.GDF",
      "w:\\geo\\.\\mdt0001.gdf",
      drive_.Host("GEO/CDT0001.GDF").string(),  // a section the set may gain
  };
  for (const std::string& report : reports) {
    for (const bool batch : {false, true}) {
      SCOPED_TRACE(report + (batch ? " (batch)" : ""));
      const std::vector<std::string> args =
          batch ? With({"--report-json", report, "--batch", drive_.Host("list.csv").string()})
                : With({"--report-json", report, "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\B-1"});
      const CliResult r = RunCli(args);
      EXPECT_EQ(r.exitCode, 2) << r.err;
      EXPECT_NE(r.err.find("--report-json"), std::string::npos) << r.err;
      EXPECT_NE(r.err.find("詳しくは --help"), std::string::npos) << r.err;
      Files after = Snapshot(drive_.Root());
      after.erase("list.csv");
      EXPECT_EQ(after, before);
    }
  }
}

TEST_F(CliGuardTest, ControlCharactersOfPathsReachTheTerminalAsEscapes) {
  const std::vector<std::pair<std::string, std::string>> controls = {
      {"\x1b[2J", "\\x1b[2J"}, {"\x07", "\\x07"}, {"\x7f", "\\x7f"},
      {"\xc2\x9b", "\\x9b"},   {"\x1f", "\\x1f"}, {"\t", "\\x09"}};
  for (const auto& [raw, escaped] : controls) {
    SCOPED_TRACE(escaped);
    // A source that is not there, and one on no drive: both are named on the terminal.
    for (const std::string& source :
         {"W:\\GEO" + raw + "\\MDT0001.GDF", "/nowhere" + raw + "/MDT0001.GDF"}) {
      const CliResult r = RunCli(With({source, "W:\\OUT\\B-1"}));
      EXPECT_NE(r.exitCode, 0);
      EXPECT_EQ(r.err.find(raw), std::string::npos) << r.err;
      EXPECT_NE(r.err.find(escaped), std::string::npos) << r.err;
    }
  }
}

TEST_F(CliGuardTest, TheEncodingOptionOverridesTheGuess) {
  // The data set in UTF-8 with one stray Latin-1 byte: the guess stops naming it.
  for (const char* s : {"MDT", "BDT", "KDT", "NDT", "LDT"}) {
    const fs::path file = drive_.Host(std::string("GEO/") + s + "0001.GDF");
    WriteBytes(file, ToUtf8(DecodeCp932(ReadBytes(file))));
  }
  const fs::path mdt = drive_.Host("GEO/MDT0001.GDF");
  WriteBytes(mdt, ReadBytes(mdt) + "\xE9");
  const std::string json = drive_.Host("report.json").string();
  CliResult r = RunCli(With({"--report-json", json, "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\B-1"}));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("のバイト 0xE9 は UTF-8 の文字になりません"), std::string::npos) << r.err;
  EXPECT_TRUE(nlohmann::json::parse(ReadBytes(json))["encoding"].is_null());
  // Read as Shift-JIS by choice, the same files convert (into mojibake, as asked).
  r = RunCli(
      With({"--encoding", "CP932", "--report-json", json, "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\B-1"}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const nlohmann::json j = nlohmann::json::parse(ReadBytes(json));
  EXPECT_EQ(j["encoding"], (nlohmann::json{{"name", "cp932"}, {"basis", "chosen"}}));
  r = RunCli(With({"--encoding", "latin1", "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\B-2"}));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(fs::exists(drive_.Host("OUT/B-2")));
}

}  // namespace
}  // namespace ostra::test
