// Boring exchange XML files through the command line: the ways real files differ that must not
// change the outputs, a file cut short, coded classes, --write-gdf, the report, and the
// guideline's worked examples.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "base/codec.h"
#include "support/bed_builder.h"
#include "support/test_support.h"

namespace ostra::test {
namespace {

using Json = nlohmann::json;
using Files = std::map<std::string, std::string>;

// A boring with every kind of item: classes given by the file's own table (硬軟, コア形状), by
// the standard table (風化 013 = γ, 割れ目 012 = b) and by a code no table knows (変質 0).
BedFile Sample(const std::string& version) {
  BedFile f;
  f.version = version;
  f.layers = {{"1.80", "埋土"}, {"4.50", "シルト質砂"}, {"10.00", "花崗岩"}};
  f.classes = {{"硬軟", {{"4.00", "940"}, {"10.00", "920"}}, {{"920", "B"}, {"940", "D"}}},
               {"コア形状", {{"10.00", "930"}}, {{"930", "III"}}},
               {"風化", {{"6.00", "013"}, {"10.00", "012"}}, {}},
               {"割れ目", {{"10.00", "012"}}, {}},
               {"変質", {{"10.00", "0"}}, {}}};
  f.spts = {{"1.15", {{1, 150}, {1, 160}, {2, 140}}, ""},
            {"5.15", {{10, 100}, {12, 100}, {14, 100}}, ""},
            {"8.15", {{38, 100}, {12, 30}}, "打ち止め"}};
  f.progress = {{"2001-05-19", "4.00"}, {"2001-05-20", "10.00"}};
  f.waters = {{"2001-05-20", "2.35"}, {"2001-05-21", "2.50"}};
  f.remarks = {{"0.00", "1.80", "含水量少ない。\\n木片混入。"}, {"1.80", "10.00", "均質。"}};
  return f;
}

// The depths where the sample's depth lists end, all of them and without repeats.
std::pair<int, int> SampleBoundaries(const BedFile& f) {
  std::set<std::string> depths;
  int all = 0;
  for (const auto& [depth, name] : f.layers) depths.insert(depth), ++all;
  for (const BedClassList& c : f.classes) {
    for (const auto& [depth, value] : c.intervals) depths.insert(depth), ++all;
  }
  return {static_cast<int>(depths.size()), all};
}

std::string Cp932(const std::string& utf8) {
  return EncodeCp932(FromUtf8(utf8));
}

std::string FromCp932Utf8(const std::string& bytes) {
  return ToUtf8(DecodeCp932(bytes));
}

// Whether every line of the text ends in CR LF, the last one too.
bool CrLfLines(const std::string& bytes) {
  size_t lf = 0, crlf = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n') continue;
    ++lf;
    if (i > 0 && bytes[i - 1] == '\r') ++crlf;
  }
  return lf > 0 && lf == crlf && bytes.back() == '\n';
}

struct Outcome {
  CliResult cli;
  Files outputs;  // the destination's files by name
};

class BedCliTest : public ::testing::Test {
 protected:
  // Converts `bytes` as W:\<folder>\<name> into W:\<folder>\OUT with a reference folder of its
  // own (so that no conversion finds what another one registered).
  Outcome Convert(const std::string& folder, const std::string& bytes,
                  const std::vector<std::string>& more = {},
                  const std::string& name = "BED0001.XML") {
    fs::create_directories(drive_.Host(folder));
    CopyExamplePatdat(drive_.Host(folder + "/PATDAT"));
    if (!bytes.empty()) WriteBytes(drive_.Host(folder + "/" + name), bytes);
    std::vector<std::string> args = {"--drive=W=" + drive_.Root().string(),
                                     "--patdat=W:\\" + folder + "\\PATDAT", "-y"};
    args.insert(args.end(), more.begin(), more.end());
    args.push_back("W:\\" + folder + "\\" + name);
    args.push_back("W:\\" + folder + "\\OUT");
    Outcome o;
    o.cli = RunCli(args);
    o.outputs = Folder(folder + "/OUT");
    return o;
  }

  Files Folder(const std::string& folder) const {
    Files files;
    if (!fs::exists(drive_.Host(folder))) return files;
    for (const auto& e : fs::directory_iterator(drive_.Host(folder))) {
      files[e.path().filename().string()] = ReadBytes(e.path());
    }
    return files;
  }

  TempDrive drive_{u'W'};
};

// What may differ between two files of one boring (the encoding's bytes, the order of the
// elements, elements no version knows, the version's names and units) gives the same files.
TEST_F(BedCliTest, WhatDiffersOnlyInFormGivesTheSameOutputs) {
  BedFile shuffled = Sample("3.00");
  shuffled.reversed = true;
  shuffled.extra = {{"独自情報", "", {{"独自情報_項目", "何か", {}}}},
                    {"フリー情報", "", {{"バージョン変換情報", "2.10→3.00", {}}}}};
  struct Pair {
    const char* what;
    std::string a, b;
    std::vector<std::string> compared;  // the outputs compared; empty: all of them
  };
  const std::vector<Pair> pairs = {
      {"UTF-8 bytes under a Shift_JIS declaration",
       Cp932(Sample("3.00").Xml()),
       Sample("3.00").Xml(),
       {}},
      {"elements out of order and unknown ones",
       Cp932(Sample("3.00").Xml()),
       Cp932(shuffled.Xml()),
       {}},
      {"2.10 and 4.00 names", Cp932(Sample("2.10").Xml()), Cp932(Sample("4.00").Xml()), {}},
      {"penetration in cm and in mm",
       Cp932(Sample("3.00").Xml()),
       Cp932(Sample("4.00").Xml()),
       {"X5.TXT"}},
  };
  int n = 0;
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.what);
    const Outcome a = Convert("A" + std::to_string(n), p.a);
    const Outcome b = Convert("B" + std::to_string(n++), p.b);
    ASSERT_EQ(a.cli.exitCode, 0) << a.cli.err;
    ASSERT_EQ(b.cli.exitCode, 0) << b.cli.err;
    // Not two empty conversions: the layers and the tests arrived.
    for (const char* file : {"X1.TXT", "X5.TXT", "N9.TXT", "X12.TXT", "R31.TXT"}) {
      ASSERT_TRUE(a.outputs.count(file)) << file;
      EXPECT_FALSE(a.outputs.at(file).empty()) << file;
    }
    EXPECT_NE(a.outputs.at("X1.TXT").find(Cp932("シルト質砂")), std::string::npos);
    if (p.compared.empty()) {
      EXPECT_EQ(a.outputs, b.outputs);
    } else {
      for (const std::string& file : p.compared) EXPECT_EQ(a.outputs.at(file), b.outputs.at(file));
    }
  }
}

// A class code of the file's own table and one of the standard table reach the class files as
// symbols; a code no table knows stays as written and the report lists it.
TEST_F(BedCliTest, ClassCodesReachTheClassFilesAsSymbols) {
  const std::string json = drive_.Host("r.json").string();
  const Outcome o = Convert("C", Cp932(Sample("3.00").Xml()), {"--report-json", json});
  ASSERT_EQ(o.cli.exitCode, 0) << o.cli.err;
  std::string classes;
  for (const char* file : {"R32.TXT", "R33.TXT", "R34.TXT", "R35.TXT"}) {
    ASSERT_TRUE(o.outputs.count(file)) << file;
    classes += FromCp932Utf8(o.outputs.at(file));
  }
  // The part after the code field: ",B," (half or full width, as the record holds it).
  auto holds = [&](const std::string& half, const std::string& full) {
    return classes.find("," + half + ",") != std::string::npos ||
           classes.find("," + full + ",") != std::string::npos;
  };
  EXPECT_TRUE(holds("B", "Ｂ")) << classes;  // 硬軟 920, own table
  EXPECT_TRUE(holds("D", "Ｄ")) << classes;  // 硬軟 940, own table
  EXPECT_TRUE(holds("γ", "γ")) << classes;   // 風化 013, standard
  EXPECT_TRUE(holds("β", "β")) << classes;   // 風化 012, standard
  EXPECT_TRUE(holds("b", "ｂ")) << classes;  // 割れ目 012, standard
  EXPECT_TRUE(holds("0", "０")) << classes;  // 変質 0: as written
  for (const char* code : {"920", "940", "013", "012"}) {
    EXPECT_EQ(classes.find(code), std::string::npos) << code;
  }
  const Json j = Json::parse(ReadBytes(json));
  ASSERT_TRUE(j.contains("bed")) << j.dump(2);
  ASSERT_EQ(j["bed"]["unknownCodes"].size(), 1u) << j["bed"].dump();
  EXPECT_NE(j["bed"]["unknownCodes"][0].get<std::string>().find("変質"), std::string::npos);
}

// A file that ends in the middle stops, naming the file and the line where it ends.
TEST_F(BedCliTest, AFileCutShortStopsNamingTheLineAndColumn) {
  const std::string whole = Cp932(Sample("3.00").Xml());
  // Inside a text, inside a tag's name, and right after an end tag: each on the line it ends in.
  const std::vector<std::string> cuts = {Cp932("<観察記事_記事>含水量"), Cp932("<標準貫入試"),
                                         Cp932("</孔内水位_孔内水位>")};
  int n = 0;
  for (const std::string& cut : cuts) {
    const size_t at = whole.find(cut);
    ASSERT_NE(at, std::string::npos);
    const std::string bytes = whole.substr(0, at + cut.size());
    const long line = static_cast<long>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    const Outcome o = Convert("CUT" + std::to_string(n++), bytes);
    SCOPED_TRACE(o.cli.err);
    EXPECT_EQ(o.cli.exitCode, 1);
    EXPECT_NE(o.cli.err.find("BED0001.XML\" の " + std::to_string(line) + " 行目 "),
              std::string::npos);
    EXPECT_NE(o.cli.err.find(" 文字目"), std::string::npos);
    EXPECT_NE(o.cli.err.find("XML として正しく書かれていない"), std::string::npos);
    EXPECT_TRUE(o.outputs.empty());
  }
}

// --write-gdf writes the data set that was read as legacy files; converting them gives the bytes
// the XML gives. A second writing replaces them only when allowed; an MDT file is refused.
TEST_F(BedCliTest, WrittenDataSetConvertsToTheSameBytes) {
  const std::string xml = Cp932(Sample("4.00").Xml());
  const Outcome direct = Convert("D", xml);
  ASSERT_EQ(direct.cli.exitCode, 0) << direct.cli.err;

  fs::create_directories(drive_.Host("G"));
  WriteBytes(drive_.Host("G/BED0001.XML"), xml);
  const std::string drives = "--drive=W=" + drive_.Root().string();
  const CliResult written =
      RunCli({drives, "--write-gdf", "W:\\G\\GDF\\NEW", "W:\\G\\BED0001.XML"});
  ASSERT_EQ(written.exitCode, 0) << written.err;
  const Files gdf = Folder("G/GDF/NEW");
  ASSERT_TRUE(gdf.count("MDT0001.GDF")) << written.out;
  for (const auto& [name, bytes] : gdf) {
    EXPECT_EQ(name.substr(3), "0001.GDF");
    EXPECT_FALSE(bytes.empty()) << name;  // an empty section is not written
    EXPECT_TRUE(CrLfLines(bytes)) << name;
  }
  // Converting the written files.
  fs::create_directories(drive_.Host("E"));
  for (const auto& [name, bytes] : gdf) WriteBytes(drive_.Host("E/" + name), bytes);
  const Outcome viaGdf = Convert("E", "", {}, "MDT0001.GDF");
  ASSERT_EQ(viaGdf.cli.exitCode, 0) << viaGdf.cli.err;
  EXPECT_EQ(viaGdf.outputs, direct.outputs);
  // With DEST it writes and converts; standard output holds the JSON report alone.
  const Outcome both = Convert("F", xml, {"--write-gdf", "W:\\F\\GDF", "--report-json", "-"});
  ASSERT_EQ(both.cli.exitCode, 0) << both.cli.err;
  EXPECT_EQ(Folder("F/GDF"), gdf);
  EXPECT_EQ(both.outputs, direct.outputs);
  EXPECT_TRUE(Json::parse(both.cli.out).contains("bed")) << both.cli.out;

  // Files of those names are there, also one of a section the XML holds nothing of (it would
  // join the data set): without --yes (and no terminal to ask) nothing changes; with it they go.
  WriteBytes(drive_.Host("G/GDF/NEW/MDT0001.GDF"), "mine");
  std::string unwritten;
  for (const char* s : {"BDT", "KDT", "NDT", "LDT", "CDT"}) {
    if (unwritten.empty() && !gdf.count(s + std::string("0001.GDF"))) unwritten = s;
  }
  if (!unwritten.empty()) WriteBytes(drive_.Host("G/GDF/NEW/" + unwritten + "0001.GDF"), "old");
  const CliResult again = RunCli({drives, "--write-gdf", "W:\\G\\GDF\\NEW", "W:\\G\\BED0001.XML"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("MDT0001.GDF"), std::string::npos) << again.err;
  EXPECT_NE(again.err.find(unwritten + "0001.GDF"), std::string::npos) << again.err;
  EXPECT_EQ(ReadBytes(drive_.Host("G/GDF/NEW/MDT0001.GDF")), "mine");
  const CliResult yes =
      RunCli({drives, "-y", "--write-gdf", "W:\\G\\GDF\\NEW", "W:\\G\\BED0001.XML"});
  EXPECT_EQ(yes.exitCode, 0) << yes.err;
  EXPECT_EQ(Folder("G/GDF/NEW"), gdf);
  // An MDT file is a data set already: a usage error, nothing written.
  const CliResult mdt =
      RunCli({drives, "--write-gdf", "W:\\G\\OTHER", "W:\\G\\GDF\\NEW\\MDT0001.GDF"});
  EXPECT_EQ(mdt.exitCode, 2);
  EXPECT_NE(mdt.err.find("すでに"), std::string::npos) << mdt.err;
  EXPECT_FALSE(fs::exists(drive_.Host("G/OTHER")));
}

// The report tells the version, the encoding and how many layer records came from how many
// boundaries; a legacy data set's report has no such member.
TEST_F(BedCliTest, TheReportTellsWhatTheXmlWas) {
  const BedFile f = Sample("4.00");
  const std::string json = drive_.Host("b.json").string();
  const Outcome o = Convert("R", f.Xml(), {"--report-json", json});
  ASSERT_EQ(o.cli.exitCode, 0) << o.cli.err;
  const Json bed = Json::parse(ReadBytes(json))["bed"];
  const auto [records, boundaries] = SampleBoundaries(f);
  EXPECT_EQ(bed["version"], "4.00");
  EXPECT_EQ(bed["encoding"], "utf-8");
  EXPECT_EQ(bed["layerRecords"], records);
  EXPECT_EQ(bed["layerBoundaries"], boundaries);
  // The text report says the same.
  EXPECT_NE(o.cli.out.find("4.00"), std::string::npos) << o.cli.out;
  EXPECT_NE(o.cli.out.find(std::to_string(records) + " "), std::string::npos) << o.cli.out;
  EXPECT_NE(o.cli.out.find(std::to_string(boundaries) + " "), std::string::npos) << o.cli.out;

  fs::create_directories(drive_.Host("L"));
  for (const char* s : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
    const std::string name = std::string(s) + "0001.GDF";
    fs::copy_file(ExamplesDir() / name, drive_.Host("L/" + name));
  }
  ASSERT_EQ(Convert("L", "", {"--report-json", json}, "MDT0001.GDF").cli.exitCode, 0);
  EXPECT_FALSE(Json::parse(ReadBytes(json)).contains("bed"));
}

// The guideline's worked examples convert; a trial run and a batch take XML sources too.
TEST_F(BedCliTest, TheWorkedExamplesConvertAlsoInATrialAndABatch) {
  const fs::path shared = test::ExamplesDir() / "bed";
  std::string list = "SOURCE,DEST\n";
  for (const char* name : {"BED0110.XML", "BED0210.XML", "BED0300.XML", "BED0400.XML"}) {
    SCOPED_TRACE(name);
    const std::string folder = std::string("X") + name;
    const Outcome o = Convert(folder.substr(0, 8), ReadBytes(shared / name), {}, name);
    EXPECT_EQ(o.cli.exitCode, 0) << o.cli.err;
    EXPECT_TRUE(o.outputs.count("X1.TXT"));
    list +=
        "W:\\" + folder.substr(0, 8) + "\\" + name + ",W:\\BATCH\\" + folder.substr(0, 8) + "\n";
  }
  const Outcome trial =
      Convert("T", ReadBytes(shared / "BED0300.XML"), {"--dry-run"}, "BED0300.XML");
  EXPECT_EQ(trial.cli.exitCode, 0) << trial.cli.err;
  EXPECT_NE(trial.cli.out.find("X1.TXT"), std::string::npos);
  EXPECT_TRUE(trial.outputs.empty());
  WriteBytes(drive_.Host("list.csv"), list);
  const CliResult batch =
      RunCli({"--drive=W=" + drive_.Root().string(), "--patdat=W:\\XBED0300\\PATDAT", "-y",
              "--batch", drive_.Host("list.csv").string()});
  EXPECT_EQ(batch.exitCode, 0) << batch.err;
  EXPECT_EQ(Folder("BATCH").size(), 4u);
}

}  // namespace
}  // namespace ostra::test
