// The catalogue of bad input, one test per class, through ostraconv-cli on the bundled sample:
// every case stops with exit 1 and a Japanese message naming the file and the problem (or, where
// the input is acceptable after all, converts), never crashes, and leaves the reference folder
// either unchanged or extended only by what a whole conversion of the same data would add.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "cli/reliability_support.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ostra::test {
namespace {

using Files = std::map<std::string, std::string>;

const std::vector<std::string> kSections = {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"};
const std::vector<std::string> kAppendOnly = {"KISHITU.TXT", "L13.TXT", "L14.TXT",
                                              "L15.TXT",     "L16.TXT", "L17.TXT"};
constexpr const char* kDest = "O:\\OUT\\P001\\SITE\\B-1";

std::string Sjis(const std::string& utf8) {
  return EncodeCp932(FromUtf8(utf8));
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

// True when `part` is `whole` with some lines left out.
bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  size_t k = 0;
  for (const std::string& line : whole) {
    if (k < part.size() && part[k] == line) ++k;
  }
  return k == part.size();
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::string problem;
  return WholeLines(bytes, problem);
}

// "L 行目 C 文字目" of the character `chars` characters after byte `at` of code page 932 text
// with CR LF line ends, as an editor counts them.
std::string PlaceAt(const std::string& bytes, size_t at, size_t chars = 0) {
  const Text before = DecodeCp932(bytes.substr(0, at));
  const size_t line = static_cast<size_t>(std::count(before.begin(), before.end(), u'\n')) + 1;
  const size_t lineStart = before.rfind(u'\n') == Text::npos ? 0 : before.rfind(u'\n') + 1;
  return std::to_string(line) + " 行目 " + std::to_string(before.size() - lineStart + chars + 1) +
         " 文字目";
}

// The line where the data of a (cut) section file ends: its last character that is neither a
// blank nor a line end.
size_t EndLine(const std::string& bytes) {
  const size_t last = bytes.find_last_not_of(" \r\n");
  if (last == std::string::npos) return 1;
  return static_cast<size_t>(std::count(bytes.begin(), bytes.begin() + last, '\n')) + 1;
}

// Places where a section file can be cut so that at least one field it holds is lost: after
// each line but the last, and before each comma outside double quotes.
std::vector<size_t> CutPoints(const std::string& bytes) {
  std::vector<size_t> cuts;
  bool quoted = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      ++i;  // a double-byte character: its trail byte may look like anything
      continue;
    }
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) cuts.push_back(i);
    if (c == '\n' && i + 1 < bytes.size()) cuts.push_back(i + 1);
  }
  return cuts;
}

class BadInputCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    ASSERT_EQ(Convert().exitCode, 0);
    full_ = Patdat();
    Reset();
  }

  // A fresh copy of the sample data set in G:\GEO and of its reference folder in G:\PATDAT, and
  // an empty drive O:.
  void Reset() {
    fs::remove_all(geo_.Host("GEO"));
    fs::remove_all(geo_.Host("PATDAT"));
    fs::create_directories(geo_.Host("GEO"));
    for (const std::string& s : kSections) {
      fs::copy_file(ExamplesDir() / (s + "0001.GDF"), geo_.Host("GEO/" + s + "0001.GDF"));
    }
    CopyExamplePatdat(geo_.Host("PATDAT"));
    for (const auto& e : fs::directory_iterator(out_.Root())) fs::remove_all(e.path());
  }

  CliResult Convert(const std::string& dest = kDest,
                    const std::string& source = "G:\\GEO\\MDT0001.GDF") {
    return RunCli({"--drive", "G=" + geo_.Root().string(), "--drive", "O=" + out_.Root().string(),
                   "--patdat", "G:\\PATDAT", "--yes", source, dest});
  }
  Files Patdat() const { return Snapshot(geo_.Host("PATDAT")); }
  fs::path Section(const std::string& kind) const { return geo_.Host("GEO/" + kind + "0001.GDF"); }
  std::string SampleBytes(const std::string& kind) const {
    return ReadBytes(ExamplesDir() / (kind + "0001.GDF"));
  }
  // Replaces the first occurrence of `from` (UTF-8) in a section file by the bytes `to`.
  void Patch(const std::string& kind, const std::string& from, const std::string& toBytes) {
    std::string bytes = ReadBytes(Section(kind));
    const size_t at = bytes.find(Sjis(from));
    ASSERT_NE(at, std::string::npos) << from;
    bytes.replace(at, Sjis(from).size(), toBytes);
    WriteBytes(Section(kind), bytes);
  }
  static void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
  }

  // The reference folder after a stopped run: tables the run extends hold their old lines and
  // at most the lines a whole conversion adds (in its order), all others are unchanged, and
  // nothing else appeared. `missing` names a table removed for the case.
  void ExpectConsistent(const Files& before, const std::string& context,
                        const std::string& missing = "") const {
    const Files after = Patdat();
    for (const auto& [name, bytes] : after) {
      EXPECT_TRUE(before.count(name) || name == missing) << context << ": new file " << name;
    }
    for (const auto& [name, old] : before) {
      ASSERT_TRUE(after.count(name)) << context << ": " << name << " went missing";
      const std::string& now = after.at(name);
      const std::string& whole = full_.at(name);
      if (std::find(kAppendOnly.begin(), kAppendOnly.end(), name) != kAppendOnly.end()) {
        EXPECT_TRUE(StartsWith(now, old) && StartsWith(whole, now)) << context << ": " << name;
      } else if (name == "XKISHITU.TXT") {
        EXPECT_TRUE(IsSubsequence(Lines(old), Lines(now)) &&
                    IsSubsequence(Lines(now), Lines(whole)))
            << context << ": " << name;
      } else {
        EXPECT_EQ(now, old) << context << ": " << name;
      }
    }
    if (missing.empty()) {
      EXPECT_TRUE(WellFormedTables(geo_.Host("PATDAT"))) << context;
    }
  }

  // A stopped run: exit 1 with a message that names `file` and says one of `problems`.
  static void ExpectStopped(const CliResult& r, const std::string& file,
                            const std::vector<std::string>& problems, const std::string& context) {
    EXPECT_EQ(r.exitCode, 1) << context << "\n" << r.err;
    EXPECT_NE(r.err.find(file), std::string::npos) << context << "\n" << r.err;
    const bool says = std::any_of(problems.begin(), problems.end(), [&](const std::string& p) {
      return r.err.find(p) != std::string::npos;
    });
    EXPECT_TRUE(says) << context << "\n" << r.err;
  }

  TempDrive geo_{u'G'};
  TempDrive out_{u'O'};
  Files full_;  // the reference folder after a whole conversion of the sample
};

TEST_F(BadInputCatalogueTest, ASectionCutShortAnywhereStops) {
  int cases = 0;
  MessageList messages("messages-truncation.txt");
  for (const std::string& kind : kSections) {
    const std::string sample = SampleBytes(kind);
    const std::vector<size_t> cuts = CutPoints(sample);
    bool listed = false;
    for (size_t cut : cuts) {
      Reset();
      WriteBytes(Section(kind), sample.substr(0, cut));
      const Files before = Patdat();
      const std::string context = kind + " cut at byte " + std::to_string(cut);
      const CliResult r = Convert();
      ExpectStopped(r, "G:\\GEO\\" + kind + "0001.GDF",
                    {"途中で終わっています", "のヘッダーが不正です"}, context);
      // Past the header check, the message names the line where the data ends.
      if (r.err.find("途中で終わっています") != std::string::npos) {
        const std::string end =
            "ファイルは " + std::to_string(EndLine(sample.substr(0, cut))) + " 行目で終わって";
        EXPECT_NE(r.err.find(end), std::string::npos) << context << "\n" << r.err;
      }
      // One cut in the middle of each section for the list of messages.
      if (cut == cuts[cuts.size() / 2] && !listed) {
        listed = true;
        messages.Add(kind, "cut after byte " + std::to_string(cut), r.err);
      }
      ExpectConsistent(before, context);
      ++cases;
      if (HasFailure()) return;
    }
  }
  EXPECT_GT(cases, 150);
  RecordFigures("catalogue-truncation.txt", {{"truncated_sections", std::to_string(cases)}});
  messages.Write();
}

TEST_F(BadInputCatalogueTest, CountsAboveTheLimitsStop) {
  struct Case {
    std::string kind, from, to, bad, says;
  };
  const std::vector<Case> cases = {
      {"MDT", "1,29,10,0,11", "1,29,10,0,41", "41", "項目数「41」が上限 40"},
      {"MDT", "6,4,4", "6,41,4", "41", "項目数「41」が上限 40"},
      {"KDT", "1,6,2", "1,6,41", "41", "項目数「41」が上限 40"},
      {"LDT", "3,3\r\n", "3,41\r\n", "41", "項目数「41」が上限 40"},
      {"CDT", "1,7,5", "1,40000,5", "40000", "「40000」が 0 から 32767 までの整数ではありません"},
      {"BDT", "1,8,10", "1,8,32768", "32768", "「32768」が 0 から 32767 までの整数ではありません"},
  };
  MessageList messages("messages-limits.txt");
  for (const Case& c : cases) {
    Reset();
    // The message names the line and character where the count stands in the sample.
    const std::string sample = SampleBytes(c.kind);
    const std::string place =
        PlaceAt(sample, sample.find(Sjis(c.from)), FromUtf8(c.to).find(FromUtf8(c.bad)));
    Patch(c.kind, c.from, Sjis(c.to));
    const Files before = Patdat();
    const CliResult r = Convert();
    ExpectStopped(r, "G:\\GEO\\" + c.kind + "0001.GDF", {"の " + place + "の"},
                  c.kind + " " + c.to);
    ExpectStopped(r, "G:\\GEO\\" + c.kind + "0001.GDF", {c.says}, c.kind + " " + c.to);
    ExpectConsistent(before, c.to);
    messages.Add(c.kind, c.from + " -> " + c.to, r.err);
  }
  messages.Write();
  // Reference tables longer than the run's tables hold.
  for (const auto& [table, rows] :
       std::vector<std::pair<std::string, int>>{{"L4.TXT", 51}, {"L10.TXT", 41}}) {
    Reset();
    std::vector<std::string> lines;
    for (int i = 1; i <= rows; ++i) lines.push_back(std::to_string(i) + ",X" + std::to_string(i));
    WriteSjisLines(geo_.Host("PATDAT/" + table), lines);
    const Files before = Patdat();
    ExpectStopped(Convert(), "G:\\PATDAT\\" + table,
                  {"の行数が上限 " + std::to_string(rows - 1) + " を超えています"}, table);
    EXPECT_EQ(Patdat(), before) << table;
  }
}

TEST_F(BadInputCatalogueTest, NegativeFractionalAndNonNumericCountsStop) {
  struct Case {
    std::string kind, from, to, bad;
    bool number;  // a number, but no count
  };
  const std::vector<Case> cases = {
      {"MDT", "1,29,10,0,11", "1,29,-3,0,11", "-3", true},
      {"MDT", "1,29,10,0,11", "1,二十九,10,0,11", "二十九", false},
      {"BDT", "1,8,10", "1,2.5,10", "2.5", true},
      {"KDT", "1,6,2", "1,6,abc", "abc", false},
      {"NDT", "100,5,5", "x100,5,5", "x100", false},
      {"LDT", "1,1,4", "1,1,１.５", "１.５", true},
      {"CDT", "1,7,5", "1,7,0x10", "0x10", false},
      {"MDT", "6,4,4", "-0.5,4,4", "-0.5", true},
  };
  MessageList messages("messages-counts.txt");
  for (const Case& c : cases) {
    Reset();
    const std::string sample = SampleBytes(c.kind);
    const std::string place =
        PlaceAt(sample, sample.find(Sjis(c.from)), FromUtf8(c.to).find(FromUtf8(c.bad)));
    Patch(c.kind, c.from, Sjis(c.to));
    const Files before = Patdat();
    const CliResult r = Convert();
    const std::string says =
        c.number ? "が 0 から 32767 までの整数ではありません" : "が数値ではありません";
    ExpectStopped(r, "G:\\GEO\\" + c.kind + "0001.GDF", {"の " + place + "の"},
                  c.kind + " " + c.to);
    ExpectStopped(r, "G:\\GEO\\" + c.kind + "0001.GDF", {"「" + c.bad + "」" + says},
                  c.kind + " " + c.to);
    ExpectConsistent(before, c.to);
    messages.Add(c.kind, c.from + " -> " + c.to, r.err);
  }
  messages.Write();
}

// A double quote that never closes takes the rest of the file as one value: the last record then
// lacks its fields, and the message names where the quote opened.
TEST_F(BadInputCatalogueTest, AQuoteThatNeverClosesNamesWhereItOpened) {
  struct Case {
    std::string kind, from, to;
  };
  // A quote opens a field of the last record that reads, and no quote after it closes it.
  const std::vector<Case> cases = {
      {"BDT", "2.40,6/3,\"掘削完了後, 孔内洗浄後\"", "\"2.40,6/3,掘削完了後, 孔内洗浄後"},
      {"KDT", "30.00,\"掘止め（孔内洗浄後, 水位測定）\"", "\"30.00,掘止め（孔内洗浄後, 水位測定）"},
      {"NDT", "13.45,50/3,50/3,,\"\"", "\"13.45,50/3,50/3,,"},
      {"CDT", "500,3,,,\"\"", "500,3,,,\""},  // line 7 holds the last record, without quotes
  };
  MessageList messages("messages-quotes.txt");
  for (const Case& c : cases) {
    Reset();
    const std::string sample = SampleBytes(c.kind);
    const std::string opened =
        PlaceAt(sample, sample.find(Sjis(c.from)), FromUtf8(c.to).find(u'"'));
    Patch(c.kind, c.from, Sjis(c.to));
    const Files before = Patdat();
    const CliResult r = Convert();
    ExpectStopped(r, "G:\\GEO\\" + c.kind + "0001.GDF", {"途中で終わっています"}, c.to);
    ExpectStopped(r, "G:\\GEO\\" + c.kind + "0001.GDF",
                  {opened + "で始まる二重引用符「\"」が閉じていない"}, c.to);
    ExpectConsistent(before, c.to);
    messages.Add(c.kind, c.from + " -> " + c.to, r.err);
  }
  messages.Write();
}

// Bytes that are no code page 932 character read as "・" and convert like any other text; in a
// number they make it no number.
TEST_F(BadInputCatalogueTest, UndecodableBytesReadAsAMiddleDot) {
  Patch("MDT", "19.85,泥岩,", Sjis("19.85,泥") + "\xFF" + Sjis("岩,"));
  Patch("KDT", "亀裂少なく良好", Sjis("亀裂") + "\x80\xA0" + Sjis("良好"));
  const CliResult r = Convert();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> x1 = ReadSjisLines(out_.Host("OUT/P001/SITE/B-1/X1.TXT"));
  ASSERT_EQ(x1.size(), 10u);
  EXPECT_NE(x1[6].find(",泥・岩"), std::string::npos) << x1[6];
  const std::vector<std::string> x12 = ReadSjisLines(out_.Host("OUT/P001/SITE/B-1/X12.TXT"));
  EXPECT_TRUE(std::any_of(x12.begin(), x12.end(), [](const std::string& l) {
    return l.find("亀裂・・良好") != std::string::npos;
  }));
  // The name is registered once, as read, and found by the next conversion.
  const auto kishitu = TableNames(geo_.Host("PATDAT/KISHITU.TXT"));
  EXPECT_EQ(std::count(kishitu.begin(), kishitu.end(), "泥・岩"), 1);
  const auto xkishitu = TableNames(geo_.Host("PATDAT/XKISHITU.TXT"));
  EXPECT_EQ(std::count(xkishitu.begin(), xkishitu.end(), "泥・岩"), 1);
  EXPECT_TRUE(WellFormedTables(geo_.Host("PATDAT")));
  const Files after = Patdat();
  ASSERT_EQ(Convert().exitCode, 0);
  EXPECT_EQ(Patdat(), after);

  Reset();
  Patch("NDT", "100,5,5", "100,5\x81,5");
  const Files before = Patdat();
  ExpectStopped(Convert(), "G:\\GEO\\NDT0001.GDF", {"「5・」が数値ではありません"}, "NDT");
  ExpectConsistent(before, "NDT");
}

// A soil name or class text in quotes may run over a line end; the reference tables still get
// one line per entry (found by the conversion fuzzer: the line end went into KISHITU.TXT).
TEST_F(BadInputCatalogueTest, NamesRunningOverALineEndAreRegisteredOnOneLine) {
  Patch("MDT", "1.20,表土,暗褐色,,", Sjis("1.20,\"新\r\n岩\",暗褐色,\"Ｑ\r\nＲ\","));
  const CliResult r = Convert();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(WellFormedTables(geo_.Host("PATDAT")));
  const auto kishitu = TableNames(geo_.Host("PATDAT/KISHITU.TXT"));
  EXPECT_EQ(std::count(kishitu.begin(), kishitu.end(), "新岩"), 1);
  const auto l13 = TableNames(geo_.Host("PATDAT/L13.TXT"));
  EXPECT_EQ(std::count(l13.begin(), l13.end(), "ＱＲ"), 1);
  const Files after = Patdat();
  ASSERT_EQ(Convert().exitCode, 0);
  EXPECT_EQ(Patdat(), after);
}

TEST_F(BadInputCatalogueTest, EachReferenceTableMissingInTurn) {
  const std::vector<std::string> tables = {
      "L1.TXT",  "L2.TXT",  "L3.TXT",  "L4.TXT",  "L8.TXT",      "L10.TXT",     "L13.TXT",
      "L14.TXT", "L15.TXT", "L16.TXT", "L17.TXT", "KISHITU.TXT", "XKISHITU.TXT"};
  for (const std::string& table : tables) {
    Reset();
    fs::remove(geo_.Host("PATDAT/" + table));
    const Files before = Patdat();
    const CliResult r = Convert();
    if (table == "L3.TXT") {
      // The sample names no code for L3.TXT: the run never opens it and does not need it.
      EXPECT_EQ(r.exitCode, 0) << r.err;
      EXPECT_FALSE(fs::exists(geo_.Host("PATDAT/L3.TXT")));
      EXPECT_TRUE(fs::exists(out_.Host("OUT/P001/SITE/B-1/R41.TXT")));
    } else if (table == "KISHITU.TXT") {
      // Created empty; every name of the sample then comes in through XKISHITU.TXT, once, under
      // the code it has there ("砂岩" finds "砂岩（細粒）" with the annotation cut).
      EXPECT_EQ(r.exitCode, 0) << r.err;
      const auto names = TableNames(geo_.Host("PATDAT/KISHITU.TXT"));
      EXPECT_EQ(names, (std::vector<std::string>{"表土", "崖錐堆積物", "凝灰質砂岩", "砂岩（細粒）",
                                                 "砂岩泥岩互層", "断層角礫", "泥岩", "粘板岩"}));
      std::set<std::pair<std::string, std::string>> extension;
      for (const std::string& line : Lines(Patdat().at("XKISHITU.TXT"))) {
        const auto f = LineFields(line);
        extension.insert({f[0], f[1]});
      }
      for (const std::string& line : Lines(Patdat().at("KISHITU.TXT"))) {
        const auto f = LineFields(line);
        EXPECT_TRUE(extension.count({f[0], f[1]})) << line;
      }
      EXPECT_TRUE(WellFormedTables(geo_.Host("PATDAT")));
      const Files after = Patdat();
      ASSERT_EQ(Convert().exitCode, 0);
      EXPECT_EQ(Patdat(), after);
    } else {
      ExpectStopped(r, "G:\\PATDAT\\" + table, {"がありません。変換できません。"}, table);
      EXPECT_FALSE(fs::exists(geo_.Host("PATDAT/" + table))) << table;
      ExpectConsistent(before, table, table);
    }
  }
}

TEST_F(BadInputCatalogueTest, DestinationsThatCannotBeWritten) {
  // A level of the destination is a file.
  WriteSjis(out_.Host("FILE"), "x");
  Files before = Patdat();
  ExpectStopped(Convert("O:\\FILE\\SUB\\B-1"), "O:\\FILE\\SUB", {"作成できません"}, "level");
  EXPECT_EQ(Patdat(), before);
  // Output files that turn out to be folders, before and after the registrations.
  struct Case {
    const char* file;
    bool afterRegistration;
  };
  for (const Case& c : {Case{"CNT.TXT", false}, Case{"X1.TXT", false}, Case{"R41.TXT", true}}) {
    Reset();
    fs::create_directories(out_.Host(std::string("OUT/P001/SITE/B-1/") + c.file));
    before = Patdat();
    ExpectStopped(Convert(), std::string("O:\\OUT\\P001\\SITE\\B-1\\") + c.file,
                  {"作成できません", "開けません"}, c.file);
    if (c.afterRegistration) {
      EXPECT_EQ(Patdat(), full_) << c.file;
    } else {
      EXPECT_EQ(Patdat(), before) << c.file;
    }
  }
}

TEST_F(BadInputCatalogueTest, DestinationWithoutWritePermission) {
#ifdef _WIN32
  GTEST_SKIP() << "permissions are POSIX modes here";
#else
  if (geteuid() == 0) {
    GTEST_SKIP() << "root writes through permissions; DestinationsThatCannotBeWritten covers "
                    "destinations that cannot be written in other ways";
  }
  fs::create_directories(out_.Host("RO"));
  fs::permissions(out_.Host("RO"), fs::perms::owner_read | fs::perms::owner_exec);
  const Files before = Patdat();
  ExpectStopped(Convert("O:\\RO"), "O:\\RO\\CNT.TXT", {"作成できません", "開けません"}, "RO");
  fs::permissions(out_.Host("RO"), fs::perms::owner_all);
  EXPECT_EQ(Patdat(), before);
#endif
}

TEST_F(BadInputCatalogueTest, ASourceThatVanished) {
  const Files before = Patdat();
  // Gone with its folder, replaced by a folder, or on a drive that is no longer there.
  fs::remove_all(geo_.Host("GEO"));
  CliResult r = Convert();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("変換元ファイルが選択されていません。"), std::string::npos) << r.err;
  fs::create_directories(geo_.Host("GEO/MDT0001.GDF"));
  r = Convert();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("変換元ファイルが選択されていません。"), std::string::npos) << r.err;
  r = Convert(kDest, "Q:\\GEO\\MDT0001.GDF");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("変換元ファイルが選択されていません。"), std::string::npos) << r.err;
  EXPECT_EQ(Patdat(), before);
  EXPECT_TRUE(fs::is_empty(out_.Root()));
}

TEST_F(BadInputCatalogueTest, ASiblingThatIsAFolder) {
  for (size_t i = 1; i < kSections.size(); ++i) {
    Reset();
    const std::string kind = kSections[i];
    fs::remove(Section(kind));
    fs::create_directories(Section(kind));
    const Files before = Patdat();
    ExpectStopped(Convert(), "G:\\GEO\\" + kind + "0001.GDF", {"はファイルではなくフォルダです"},
                  kind);
    EXPECT_TRUE(fs::is_directory(Section(kind))) << kind;
    // Found before anything changed: no table gained a line, nothing was written.
    EXPECT_EQ(Patdat(), before) << kind;
    EXPECT_TRUE(fs::is_empty(out_.Root())) << kind;
  }
}

}  // namespace
}  // namespace ostra::test
