// Whole archives through the command line: --scan into a destination template, its trial, and
// lists read from standard input or with paths relative to the list's folder.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

using Json = nlohmann::json;

std::string Replaced(std::string text, const std::vector<std::pair<std::string, std::string>>& r) {
  for (const auto& [from, to] : r) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
  }
  return text;
}

// A copy of the sample data set in `folder` with header items replaced (item 1 the survey,
// item 3 the hole, item 29 the project).
void CopySample(const fs::path& folder, const std::vector<std::pair<std::string, std::string>>& r) {
  CopyExampleDataSet(folder);
  WriteSjis(folder / "MDT0001.GDF", Replaced(ReadSjis(ExamplesDir() / "MDT0001.GDF"), r));
}

class ScanCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    const std::string site = "\"（仮称）津久井トンネル地質調査業務\"";
    CopySample(drive_.Host("ARCH/KOJI/CHITEN/B1"),
               {{site, "\"S1\""}, {"\"B-1\"", "\"B-1\""}, {",津久井トンネル", ",P1"}});
    CopySample(drive_.Host("ARCH/KOJI/CHITEN/B2"),
               {{site, "\"S1\""}, {"\"B-1\"", "\" B/2 x. \""}, {",津久井トンネル", ",P1"}});
    // No project and no survey: the folders name them.
    CopySample(drive_.Host("ARCH/PRJ/地点A/B-3"),
               {{site, "\"\""}, {"\"B-1\"", "\"B-3\""}, {",津久井トンネル", ","}});
    // A delivery: the XML files in BORING/DATA, one of them cut short.
    const fs::path data = drive_.Host("ARCH/DEL/BORING/DATA");
    fs::create_directories(data);
    fs::copy_file(ExamplesDir() / "bed" / "BED0110.XML", data / "bed0110.xml");
    const std::string whole = ReadBytes(ExamplesDir() / "bed" / "BED0210.XML");
    WriteBytes(data / "BED0210.XML", whole.substr(0, whole.size() / 2));
    WriteBytes(data / "notes.txt", "not a data set\n");
    std::error_code ec;  // a loop that a scan following links would never leave
    fs::create_directory_symlink(drive_.Host("ARCH"), drive_.Host("ARCH/KOJI/LOOP"), ec);
  }

  std::vector<std::string> With(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--drive", "W=" + drive_.Root().string(), "--patdat", "W:\\PATDAT"});
    return args;
  }

  TempDrive drive_{u'W'};
};

struct Expected {
  std::string found;  // below ARCH
  std::string dest;   // below W:\OUT
  std::string fallback;
  bool converted;
};

TEST_F(ScanCliTest, EveryDataSetGoesWhereTheTemplateSaysAndATrialOnlyListsIt) {
  const std::vector<Expected> expected = {
      {"DEL/BORING/DATA/BED0210.XML", "ARCH\\DEL\\BED0210",
       "{project} はフォルダ名「ARCH」、{site} はフォルダ名「DEL」、{boring} "
       "はファイル名「BED0210」",
       false},
      {"DEL/BORING/DATA/bed0110.xml", "国道○○号建設事業\\○○共同溝土質調査（その２）\\B-2", "",
       true},
      {"KOJI/CHITEN/B1/MDT0001.GDF", "P1\\S1\\B-1", "", true},
      {"KOJI/CHITEN/B2/MDT0001.GDF", "P1\\S1\\B_2_x", "", true},
      {"PRJ/地点A/B-3/MDT0001.GDF", "PRJ\\地点A\\B-3",
       "{project} はフォルダ名「PRJ」、{site} はフォルダ名「地点A」", true}};
  const std::string root = (drive_.Root() / "ARCH").string();
  // The found files are named as the scanned folder was, with the system's separator.
  auto found = [&root](std::string below) {
    for (char& ch : below) ch = ch == '/' ? static_cast<char>(fs::path::preferred_separator) : ch;
    return root + static_cast<char>(fs::path::preferred_separator) + below;
  };
  const std::string json = drive_.Host("scan.json").string();
  const std::string summary = drive_.Host("scan.csv").string();
  const std::vector<std::string> scan = {
      "--scan",       root,   "--dest-template", "W:\\OUT\\{project}\\{site}\\{boring}",
      "--keep-going", "-y",   "--report-json",   json,
      "--summary",    summary};

  const auto before = TreeSnapshot(drive_.Root());
  std::vector<std::string> trial = scan;
  trial.push_back("--dry-run");
  CliResult r = RunCli(With(trial));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string progress = "[" + std::to_string(i + 1) + "/5] " + found(expected[i].found) +
                                 " -> W:\\OUT\\" + expected[i].dest + "\n";
    EXPECT_NE(r.out.find(progress), std::string::npos) << progress << r.out;
  }
  auto after = TreeSnapshot(drive_.Root());
  after.erase("scan.json");
  after.erase("scan.csv");
  EXPECT_EQ(before, after) << "a trial changed the files";

  r = RunCli(With(scan));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  const Json j = Json::parse(ReadBytes(json));
  EXPECT_EQ(j["batch"]["scan"], root);
  ASSERT_EQ(j["conversions"].size(), expected.size()) << j.dump(1);
  for (size_t i = 0; i < expected.size(); ++i) {
    const Json& c = j["conversions"][i];
    const Expected& e = expected[i];
    EXPECT_EQ(c["line"], i + 1);
    EXPECT_EQ(c["found"], found(e.found));
    EXPECT_EQ(c["fallback"], e.fallback) << e.found;
    EXPECT_EQ(c["status"], e.converted ? "converted" : "stopped") << e.found;
    std::string dest = e.dest;
    for (char& ch : dest) ch = ch == '\\' ? '/' : ch;
    EXPECT_EQ(fs::exists(drive_.Host("OUT/" + dest + "/CNT.TXT")), e.converted) << dest;
    if (e.converted) {
      EXPECT_TRUE(fs::exists(drive_.Host("OUT/" + dest + "/X1.TXT"))) << dest;
    }
  }

  // The summary read back: one row per found data set, the fallbacks among its warnings.
  std::vector<std::vector<std::string>> rows = ReadSummaryCsv(summary);
  ASSERT_EQ(rows.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::vector<std::string>& row = rows[i + 1];
    const Expected& e = expected[i];
    ASSERT_GE(row.size(), 6u);
    EXPECT_EQ(row[0], std::to_string(i + 1));
    EXPECT_EQ(row[1], found(e.found));
    EXPECT_EQ(row[2], "W:\\OUT\\" + e.dest);
    EXPECT_EQ(row[3], e.converted ? "変換済み" : "中止") << e.found;
    EXPECT_EQ(row[4].empty(), e.converted) << row[4];
    EXPECT_EQ(row[5].find(e.fallback) != std::string::npos, true) << row[5];
    EXPECT_EQ(row[5].find("フォルダ名から") != std::string::npos, !e.fallback.empty()) << row[5];
  }

  // Mended, the broken file converts on a retry of the summary; the others are left alone.
  WriteBytes(drive_.Host("ARCH/DEL/BORING/DATA/BED0210.XML"),
             ReadBytes(ExamplesDir() / "bed" / "BED0210.XML"));
  const auto converted = TreeSnapshot(drive_.Host("OUT"));
  r = RunCli(With({"--retry", summary, "--summary", summary, "-y"}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  auto retried = TreeSnapshot(drive_.Host("OUT"));
  for (const auto& [path, bytes] : converted) EXPECT_EQ(retried[path], bytes) << path;
  size_t added = 0;
  for (const auto& [file, bytes] : retried) {
    if (converted.count(file) == 0) {
      std::string path = file;  // with "/" on every system
      for (char& ch : path) ch = ch == '\\' ? '/' : ch;
      ++added;
      // The mended data set's destination, and the folders above it.
      const std::string dest = "ARCH/DEL/BED0210";
      EXPECT_TRUE(path.rfind(dest, 0) == 0 || dest.rfind(path + "/", 0) == 0) << path;
    }
  }
  EXPECT_GT(added, 0u);
  rows = ReadSummaryCsv(summary);
  ASSERT_EQ(rows.size(), expected.size() + 1);
  for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i][3], "変換済み") << rows[i][1];
}

TEST_F(ScanCliTest, AnUnknownFieldIsAUsageErrorAndAnEmptyFolderHasNothingToConvert) {
  fs::create_directories(drive_.Host("EMPTY/SUB"));
  CliResult r =
      RunCli(With({"--scan", drive_.Host("ARCH").string(), "--dest-template", "W:\\OUT\\{bogus}"}));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err.rfind("ostraconv-cli: ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("{bogus}"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(drive_.Host("OUT")));

  r = RunCli(With({"--scan", "W:\\EMPTY", "--dest-template", "W:\\OUT\\{boring}"}));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("「W:\\EMPTY」の下に変換するデータ"), std::string::npos) << r.err;
}

TEST_F(ScanCliTest, AListFromStandardInputAndAListWithRelativePaths) {
  CliResult r = RunCliWithInput(
      With({"--batch", "-", "-y"}),
      std::string("SOURCE,DEST\r\nW:\\ARCH\\KOJI\\CHITEN\\B1\\MDT0001.GDF,W:\\OUT\\IN\\B-1\r\n"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(drive_.Host("OUT/IN/B-1/CNT.TXT")));

  // Relative to the list's folder, not to the current one.
  WriteBytes(drive_.Host("ARCH/KOJI/list.csv"), "CHITEN/B1/MDT0001.GDF,OUT/B-1\n");
  r = RunCli(With({"--batch", drive_.Host("ARCH/KOJI/list.csv").string(), "-y"}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(drive_.Host("ARCH/KOJI/OUT/B-1/CNT.TXT")));
}

}  // namespace
}  // namespace ostra::test
