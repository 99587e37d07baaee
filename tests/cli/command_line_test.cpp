// The command line itself: options in every spelling, usage errors, the quiet mode, the JSON
// report on standard output, paths that are neither form, and batch conversion.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/test_support.h"

#ifdef _WIN32
#include "base/windows_api.h"
#endif

namespace ostra::test {
namespace {

using Json = nlohmann::json;

// The JSON examples of docs/report-json.md, in order.
std::vector<Json> DocumentedExamples() {
  const std::string doc = ReadBytes(fs::path(OSTRA_SOURCE_DIR) / "docs" / "report-json.md");
  std::vector<Json> examples;
  for (size_t p = doc.find("```json\n"); p != std::string::npos; p = doc.find("```json\n", p)) {
    p += 8;
    const size_t end = doc.find("```", p);
    examples.push_back(Json::parse(doc.substr(p, end - p)));
  }
  return examples;
}

// Whether `actual` has the shape of `example`: the same members in the same order, values of
// the same types (null stands for a member that may be null), arrays compared by their first
// elements.
::testing::AssertionResult SameShape(const Json& example, const Json& actual,
                                     const std::string& at = "report") {
  if (example.is_null() || actual.is_null()) return ::testing::AssertionSuccess();
  if (example.is_number() && actual.is_number()) return ::testing::AssertionSuccess();
  if (example.type() != actual.type())
    return ::testing::AssertionFailure() << at << ": " << example.type_name() << " documented, "
                                         << actual.type_name() << " written";
  if (example.is_object()) {
    std::vector<std::string> documented, written;
    for (const auto& [key, value] : example.items()) documented.push_back(key);
    for (const auto& [key, value] : actual.items()) written.push_back(key);
    if (documented != written)
      return ::testing::AssertionFailure()
             << at << ": members " << Json(written).dump() << " written, "
             << Json(documented).dump() << " documented";
    for (const auto& [key, value] : example.items()) {
      auto r = SameShape(value, actual[key], at + "." + key);
      if (!r) return r;
    }
  }
  if (example.is_array() && !example.empty() && !actual.empty())
    return SameShape(example[0], actual[0], at + "[0]");
  return ::testing::AssertionSuccess();
}

// The bundled sample in W:\GEO and W:\GEO2 (its LDT file cut short there), the sample
// reference folder in W:\PATDAT.
class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    for (const char* folder : {"GEO", "GEO2"}) CopyExampleDataSet(drive_.Host(folder));
    const std::string ldt = ReadBytes(drive_.Host("GEO2/LDT0001.GDF"));
    WriteBytes(drive_.Host("GEO2/LDT0001.GDF"), ldt.substr(0, ldt.size() / 2));
  }

  std::vector<std::string> With(const std::vector<std::string>& rest) const {
    std::vector<std::string> args = {"--drive=W=" + drive_.Root().string(), "--patdat=W:\\PATDAT",
                                     "-y"};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  }

  TempDrive drive_{u'W'};
};

TEST_F(CommandLineTest, RedirectedOutputIsInTheSystemsCodePageOnWindows) {
  const CliResult utf8 = RunCli({"--help"});
  const CliResult asIs = RunCliAsIs({"--help"});
  ASSERT_EQ(asIs.exitCode, 0);
#ifdef _WIN32
  // Started without a console: converted into a code page of the system (which one, and how
  // it maps what it lacks, is the system's); UTF-8 only when that is the code page.
  if (GetACP() != CP_UTF8) {
    EXPECT_NE(asIs.out, utf8.out);
  }
  for (const char* ascii : {"ostraconv-cli [", "] SOURCE DEST\n", "--patdat DIR", "--utf8"}) {
    EXPECT_NE(asIs.out.find(ascii), std::string::npos) << ascii;
  }
#else
  EXPECT_EQ(asIs.out, utf8.out);
#endif
}

TEST_F(CommandLineTest, WithoutAReferenceFolderItSaysWhereItLooked) {
  TempDrive empty{u'E'};
  const CliResult r =
      RunCli({"--drive", "E=" + empty.Root().string(), "E:\\GEO\\MDT0001.GDF", "E:\\OUT"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(" PATDAT の設定がありません.\n探した場所: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("E:\\PATDAT"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--patdat"), std::string::npos) << r.err;
}

TEST_F(CommandLineTest, PathsThatAreNeitherFormAreRefused) {
  for (const char* dest : {"1:\\X", ":\\X", "\\\\SERVER\\SHARE\\B-1"}) {
    const CliResult r = RunCli(With({"W:\\GEO\\MDT0001.GDF", dest}));
    EXPECT_EQ(r.exitCode, 2) << dest;
    EXPECT_NE(r.err.find("D:\\WORK\\B-1"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--drive"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists("1:"));
  EXPECT_FALSE(fs::exists(":"));
}

TEST_F(CommandLineTest, QuietJsonOnStandardOutputAndTheEndOfOptions) {
  CliResult r = RunCli(With({"-q", "--", "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\P1\\S\\B-1"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "変換が正常に終了しました。\n");

  r = RunCli(With({"--report-json=-", "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\P1\\S\\B-2"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Json j = Json::parse(r.out);  // nothing but the report on stdout
  EXPECT_EQ(j["completed"], true);
  EXPECT_NE(r.err.find("変換が正常に終了しました。"), std::string::npos);
  EXPECT_FALSE(fs::exists("-"));
}

TEST_F(CommandLineTest, ABatchStopsAtABrokenDataSetUnlessToldToGoOn) {
  // A list in code page 932 with a header, a comment and a quoted field.
  WriteSjisLines(drive_.Host("list.csv"),
                 {"SOURCE,DEST", "# 三本のボーリング", "W:\\GEO\\MDT0001.GDF,W:\\OUT\\P1\\S\\B-1",
                  "W:\\GEO2\\MDT0001.GDF,\"W:\\OUT\\P1\\S\\B-2\"", "",
                  "W:\\GEO\\MDT0001.GDF,W:\\OUT\\P1\\S\\B-3"});
  const std::string json = drive_.Host("batch.json").string();
  CliResult r = RunCli(With({"--batch", drive_.Host("list.csv").string(), "--report-json", json}));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("\t変換済み\t"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("W:\\GEO2\\MDT0001.GDF\tW:\\OUT\\P1\\S\\B-2\t中止\t"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\t未実行\t"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("3 件中 1 件を変換しました。"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("LDT0001.GDF"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(drive_.Host("OUT/P1/S/B-3")));
  Json j = Json::parse(ReadBytes(json));
  EXPECT_EQ(j["schema"], 1);
  ASSERT_EQ(j["conversions"].size(), 3u);
  EXPECT_EQ(j["conversions"][0]["status"], "converted");
  EXPECT_EQ(j["conversions"][1]["status"], "stopped");
  EXPECT_EQ(j["conversions"][1]["error"]["kind"], "data");
  EXPECT_EQ(j["conversions"][1]["line"], 4);
  EXPECT_EQ(j["conversions"][2]["status"], "not-run");

  r = RunCli(
      With({"--batch", drive_.Host("list.csv").string(), "--keep-going", "--report-json", json}));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("3 件中 2 件を変換しました。"), std::string::npos) << r.out;
  j = Json::parse(ReadBytes(json));
  EXPECT_EQ(j["conversions"][2]["status"], "converted");
  EXPECT_EQ(ReadBytes(drive_.Host("OUT/P1/S/B-3/X1.TXT")),
            ReadBytes(drive_.Host("OUT/P1/S/B-1/X1.TXT")));
}

TEST_F(CommandLineTest, ABatchConvertsAsSeparateRunsDoAndATrialBatchChangesNothing) {
  WriteSjisLines(drive_.Host("list.csv"),
                 {"W:\\GEO\\MDT0001.GDF,W:\\OUT\\B-1", "W:\\GEO\\MDT0001.GDF,W:\\OUT\\B-2"});
  const std::string json = drive_.Host("batch.json").string();
  CliResult r = RunCli(
      With({"--batch", drive_.Host("list.csv").string(), "--dry-run", "--report-json", json}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(fs::exists(drive_.Host("OUT")));
  Json j = Json::parse(ReadBytes(json));
  EXPECT_FALSE(j["conversions"][0]["tables"].empty());
  EXPECT_TRUE(j["conversions"][1]["tables"].empty()) << "the second trial saw the first's names";

  r = RunCli(With({"--batch", drive_.Host("list.csv").string()}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // Separate runs into a second reference folder give the same bytes.
  TempDrive other{u'V'};
  CopyExamplePatdat(other.Host("PATDAT"));
  for (const char* dest : {"B-1", "B-2"}) {
    const CliResult one = RunCli({"--drive", "W=" + drive_.Root().string(), "--drive",
                                  "V=" + other.Root().string(), "--patdat", "V:\\PATDAT", "-y",
                                  "W:\\GEO\\MDT0001.GDF", std::string("V:\\OUT\\") + dest});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    for (const auto& e : fs::directory_iterator(other.Host(std::string("OUT/") + dest))) {
      EXPECT_EQ(ReadBytes(e.path()), ReadBytes(drive_.Host(std::string("OUT/") + dest + "/" +
                                                           e.path().filename().string())))
          << dest << " " << e.path().filename();
    }
  }
  for (const auto& e : fs::directory_iterator(other.Host("PATDAT"))) {
    if (e.path().filename() == "OSTRACONV.LCK") continue;
    EXPECT_EQ(ReadBytes(e.path()), ReadBytes(drive_.Host("PATDAT/" + e.path().filename().string())))
        << e.path().filename();
  }
}

TEST_F(CommandLineTest, TheReportsHaveTheDocumentedShape) {
  const std::vector<Json> examples = DocumentedExamples();
  ASSERT_EQ(examples.size(), 3u);
  // A completed conversion with a warning (an old R41.TXT beside it: this data set has none).
  fs::remove(drive_.Host("GEO/CDT0001.GDF"));
  WriteSjis(drive_.Host("OUT/B-1/R41.TXT"), "old\r\n");
  const std::string json = drive_.Host("r.json").string();
  ASSERT_EQ(RunCli(With({"--report-json", json, "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\B-1"})).exitCode,
            0);
  Json j = Json::parse(ReadBytes(json));
  ASSERT_FALSE(j["warnings"].empty());
  EXPECT_TRUE(SameShape(examples[0], j));
  // A stopped one.
  ASSERT_EQ(RunCli(With({"--report-json", json, "W:\\GEO2\\MDT0001.GDF", "W:\\OUT\\B-2"})).exitCode,
            1);
  j = Json::parse(ReadBytes(json));
  ASSERT_TRUE(j["error"].is_object());
  EXPECT_TRUE(SameShape(examples[1], j));
  // A boring exchange XML file: the member bed after encoding.
  const fs::path xml = test::ExamplesDir() / "bed" / "BED0300.XML";
  fs::copy_file(xml, drive_.Host("GEO/BED0300.XML"));
  ASSERT_EQ(RunCli(With({"--report-json", json, "W:\\GEO\\BED0300.XML", "W:\\OUT\\B-3"})).exitCode,
            0);
  j = Json::parse(ReadBytes(json));
  ASSERT_TRUE(j["bed"].is_object());
  EXPECT_TRUE(SameShape(examples[2], j));
}

}  // namespace
}  // namespace ostra::test
