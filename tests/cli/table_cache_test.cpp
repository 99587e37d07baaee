// Reference tables with awkward endings, extended by whole conversions: what a conversion
// registers, the next one finds, and appended lines follow the last record directly.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostra::test {
namespace {

using Files = std::map<std::string, std::string>;

Files AllFiles(const fs::path& root) {
  Files files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadBytes(e.path());
  }
  return files;
}

// A data set of many layers whose names and classes are partly known, partly new, repeated,
// annotated or written in half width, against tables with awkward endings.
void WriteDataSet(const fs::path& root, const std::string& xkishitu) {
  const std::vector<std::string> names = {
      "花崗岩",   "花崗岩（粗粒）", "新岩種A",    "新岩種A", "砂岩,泥岩互層", "凝灰岩",
      "細粒砂岩", "新岩種B",        "泥岩（黒）", "泥岩",    "\" 引用\"",     "新岩種A",
      "ﾁｬｰﾄ",     "チャート",       "石灰岩",     "新岩種C", "新岩種B",       "粘板岩（黒色）"};
  const std::vector<std::string> classes = {"CM", "ＣＭ",   "ｶﾞﾗ",    "新級～旧級", "甲～甲",
                                            "",   "CL～CH", " 空白 ", "Ｄ",         "新級"};
  std::string layers;
  const int count = 90;
  for (int i = 0; i < count; ++i) {
    std::string depth = std::to_string(i + 1) + ".50";
    const std::string& name = names[static_cast<size_t>(i) % names.size()];
    layers += depth + ",\"" + name + "\",色";
    for (int k = 0; k < 5; ++k) {
      layers += ",\"" + classes[static_cast<size_t>(i + k * 3) % classes.size()] + "\"";
    }
    layers += ",x,CL～CM\r\n";
  }
  WriteSjis(root / "GEO/MDT0001.GDF",
            "0,0," + std::to_string(count) + ",0,10\r\n" + layers + "0,0,0\r\n");
  fs::create_directories(root / "PATDAT");
  auto table = [&](const std::string& name, const std::string& content) {
    WriteSjis(root / "PATDAT" / name, content);
  };
  table("L1.TXT", "1,A\r\n");
  table("L2.TXT", "1,B\r\n");
  table("L4.TXT", "1,C\r\n2,L\r\n3,M\r\n4,H\r\n");
  table("L10.TXT", "1,X\r\n");
  table("KISHITU.TXT",
        "5012,花崗岩（粗粒）,    ,    ,    ,0000\r\n"
        "1001,泥岩（黒）,    ,    ,    ,0000\r\n"
        "0500,石灰岩,    ,    ,    ,0000\r\n"
        "4500,凝灰岩,    ,    ,    ,0000\r\n"
        "1002,チャート,    ,    ,    ,0000");  // no line end at the end
  table("XKISHITU.TXT", xkishitu);
  table("L13.TXT", " 1,CM\r\n 2,ｶﾞﾗ\r\n\r\n");  // an empty line at the end
  table("L14.TXT", "3,ＣＭ\r\n5,CM\r\n\x1A");
  table("L15.TXT", "98,旧級");  // no line end, near the code limit
  table("L16.TXT", "");
  table("L17.TXT", " 1,      ,CM\r\n 2,      ,\"Ｄ\"\r\n");
}

Files Convert(const fs::path& root) {
  CliResult r = RunCli({"--drive", "K=" + root.string(), "--patdat", "K:\\PATDAT", "--yes",
                        "K:\\GEO\\MDT0001.GDF", "K:\\OUT\\P\\S\\B"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  Files out = AllFiles(root / "OUT");
  for (auto& [name, bytes] : AllFiles(root / "PATDAT")) out["PATDAT/" + name] = bytes;
  return out;
}

// Lines that are whole entries, ending with a Ctrl-Z.
const char* const kTidyExtension =
    "2000,凝灰岩,    ,    ,    ,0000\r\n"
    "2001,粘板岩（黒色）,    ,    ,    ,0000\r\n"
    "4000,予約,    ,    ,    ,0000\r\n\x1A";
// Entries running over line ends: a line of seven fields, then one of five.
const char* const kRaggedExtension =
    "2000,凝灰岩,    ,    ,    ,0000,余分\r\n"
    "2001,粘板岩（黒色）,    ,    ,0000\r\n"
    "4000,予約,    ,    ,    ,0000\r\n";

// A second conversion of the same data finds every name the first one registered: the
// reference folder stays as the first left it. (Its layer files may differ: a code the first
// run gave is written as it was made, " 3", and found the next time as it reads, "3".)
void ExpectSecondRunRegistersNothing(const char* xkishitu) {
  TempDrive a(u'A');
  WriteDataSet(a.Root(), xkishitu);
  const Files first = Convert(a.Root());
  EXPECT_GT(ReadSjisLines(a.Host("PATDAT/XKISHITU.TXT")).size(), 3u);
  const Files second = Convert(a.Root());
  ASSERT_EQ(first.size(), second.size());
  for (const auto& [name, bytes] : first) {
    if (name.rfind("PATDAT/", 0) != 0) continue;
    EXPECT_EQ(bytes, second.at(name)) << name << " differs after the second run";
  }
}

TEST(TableCacheTest, WhatOneRunRegistersTheNextFinds) {
  ExpectSecondRunRegistersNothing(kRaggedExtension);
  ExpectSecondRunRegistersNothing(kTidyExtension);
}

TEST(TableCacheTest, AppendedLinesFollowTheLastRecord) {
  TempDrive a(u'A');
  WriteDataSet(a.Root(), kTidyExtension);
  Convert(a.Root());
  // Lines appended to tables that ended without a line end, with an empty line or with a
  // Ctrl-Z follow their last record directly.
  EXPECT_EQ(ReadSjisLines(a.Host("PATDAT/KISHITU.TXT")).at(4), "1002,チャート,    ,    ,    ,0000");
  for (const char* table : {"KISHITU.TXT", "XKISHITU.TXT", "L13.TXT", "L14.TXT", "L15.TXT"}) {
    for (const std::string& line : ReadSjisLines(a.Host(std::string("PATDAT/") + table))) {
      EXPECT_FALSE(line.empty()) << table;
      EXPECT_EQ(line.find('\x1A'), std::string::npos) << table;
    }
  }
  EXPECT_EQ(ReadSjisLines(a.Host("PATDAT/L13.TXT")).at(2).substr(0, 3), " 3,");
  EXPECT_EQ(ReadSjisLines(a.Host("PATDAT/L15.TXT")),
            (std::vector<std::string>{"98,旧級", "99,CL"}));
}

}  // namespace
}  // namespace ostra::test
