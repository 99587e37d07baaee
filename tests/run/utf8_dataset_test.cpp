// A data set saved as UTF-8 (what today's editors do by default) converts to the bytes its code
// page 932 twin gives, and says so; a character code page 932 cannot hold stops the run first.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "env/memory_env.h"
#include "run/report.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

constexpr const char16_t* kDestination = u"W:\\OUT\\P001\\SITE\\B-1";

RunReport Convert(MemoryEnv& env, test::RecordingObserver& ui,
                  DataEncoding encoding = DataEncoding::kAuto) {
  ConversionRequest request = SampleRequest(kDestination);
  request.encoding = encoding;
  return ui.Run(request, env);
}

// Every file the conversion wrote, outputs and tables, by path.
std::map<Text, std::string> Written(MemoryEnv& env) {
  std::map<Text, std::string> files;
  for (const Text& path : env.WrittenFiles()) files[path] = *env.File(path);
  return files;
}

std::string AsUtf8(const std::string& cp932) {
  return ToUtf8(DecodeCp932(cp932));
}

TEST(Utf8DataSetTest, ConvertsToTheBytesOfItsCodePage932Twin) {
  MemoryEnv twin;
  PutSample(twin);
  test::RecordingObserver twinUi;
  const RunReport twinReport = Convert(twin, twinUi);
  ASSERT_TRUE(twinReport.completed);
  for (const char* bom : {"", "\xEF\xBB\xBF"}) {
    MemoryEnv env;
    PutSample(env, [&](const std::string& bytes) { return bom + AsUtf8(bytes); });
    test::RecordingObserver ui;
    const RunReport report = Convert(env, ui);
    ASSERT_TRUE(report.completed) << test::U8(ui.messages.at(0).text);
    std::map<Text, std::string> written = Written(env);
    for (auto& [path, bytes] : Written(twin)) {
      if (path.rfind(u"W:\\GEO\\", 0) == 0) continue;  // the data set itself
      EXPECT_EQ(written[path], bytes) << test::U8(path);
    }
    // The whole data set was read as UTF-8, as its contents said.
    for (const RunReport::Section& s : report.sections) {
      if (s.status == RunReport::SectionStatus::kConverted) {
        EXPECT_TRUE(s.utf8) << test::U8(s.file);
      }
    }
    ASSERT_TRUE(report.encoding.has_value());
    EXPECT_TRUE(report.encoding->utf8);
    EXPECT_EQ(report.encoding->basis, EncodingBasis::kContent);
    EXPECT_NE(ReportText(report).find(u"UTF-8 として読み込み"), Text::npos);
  }
  for (const RunReport::Section& s : twinReport.sections) EXPECT_FALSE(s.utf8);
  EXPECT_FALSE(twinReport.encoding->utf8);
}

// Where a byte stands: its line, and its column counted in characters (the text is UTF-8).
std::pair<long, long> PlaceOf(const std::string& utf8, size_t offset) {
  const size_t newline = offset == 0 ? std::string::npos : utf8.rfind('\n', offset - 1);
  const size_t from = newline == std::string::npos ? 0 : newline + 1;
  const long line =
      static_cast<long>(std::count(utf8.begin(), utf8.begin() + static_cast<long>(offset), '\n')) +
      1;
  return {line, static_cast<long>(FromUtf8(utf8.substr(from, offset - from)).size()) + 1};
}

// Each data set is read in one encoding: a set that is UTF-8 but for a stray byte, or whose
// files disagree, stops before anything is written, naming the byte or the files; a code page
// 932 file is not taken for UTF-8 because two half-width katakana look like one UTF-8
// character; and the user's choice overrides the guess.
TEST(Utf8DataSetTest, EachDataSetIsReadInOneEncoding) {
  const Text mdt = u"W:\\GEO\\MDT0001.GDF";
  const Text kdt = u"W:\\GEO\\KDT0001.GDF";
  struct Case {
    const char* what;
    bool utf8Set;
    DataEncoding choice;
    std::function<void(MemoryEnv&)> change;
    std::vector<Text> named;  // texts the message holds; empty: the run completes
    long line = 0;
    long column = 0;
  };
  std::vector<Case> cases;
  auto stray = [&](const Text& file, const std::string& bytes, bool atEnd) {
    return [=](MemoryEnv& env) {
      std::string content = *env.File(file);
      const size_t at = atEnd ? content.size() : content.find("1.20,") + 5;
      content.insert(at, bytes);
      env.SetFile(file, content);
    };
  };
  {
    MemoryEnv probe;
    PutSample(probe, AsUtf8);
    const std::string m = *probe.File(mdt);
    const std::string k = *probe.File(kdt);
    const auto [mLine, mColumn] = PlaceOf(m, m.find("1.20,") + 5);
    const auto [kLine, kColumn] = PlaceOf(k, k.size());
    cases.push_back({"a Latin-1 byte",
                     true,
                     DataEncoding::kAuto,
                     stray(mdt, "\xE9", false),
                     {mdt + u"\" の " + test::U16(std::to_string(mLine)) + u" 行目 " +
                      test::U16(std::to_string(mColumn)) + u" 文字目のバイト 0xE9"},
                     mLine,
                     mColumn});
    cases.push_back({"a character cut at the end",
                     true,
                     DataEncoding::kAuto,
                     stray(kdt, "\xE8\xA1", true),
                     {kdt + u"\" の " + test::U16(std::to_string(kLine)) + u" 行目 " +
                      test::U16(std::to_string(kColumn)) + u" 文字目のバイト 0xE8"},
                     kLine,
                     kColumn});
  }
  cases.push_back({"files that disagree",
                   true,
                   DataEncoding::kAuto,
                   [&](MemoryEnv& env) {
                     MemoryEnv cp932;
                     PutSample(cp932);
                     env.SetFile(kdt, *cp932.File(kdt));
                   },
                   {u"そろっていません", u"\"" + mdt + u"\"", u"\"" + kdt + u"\""}});
  cases.push_back({"UTF-8 chosen for Shift-JIS",
                   false,
                   DataEncoding::kUtf8,
                   {},
                   {mdt + u"\" の 2 行目 2 文字目のバイト 0x81"},
                   2,
                   2});
  cases.push_back({"katakana pairs in Shift-JIS",
                   false,
                   DataEncoding::kAuto,
                   [&](MemoryEnv& env) { env.SetFile(kdt, "0,1,2\r\n1.00,\xCF\xBB\r\n"); },
                   {}});
  cases.push_back({"Shift-JIS chosen for UTF-8", true, DataEncoding::kCp932, {}, {}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryEnv env;
    if (c.utf8Set) {
      PutSample(env, AsUtf8);
    } else {
      PutSample(env);
    }
    if (c.change) c.change(env);
    const std::map<Text, std::string> before = Written(env);
    test::RecordingObserver ui;
    const RunReport report = Convert(env, ui, c.choice);
    if (c.named.empty()) {
      ASSERT_TRUE(report.completed) << test::U8(ui.messages.at(0).text);
      ASSERT_TRUE(report.encoding.has_value());
      EXPECT_EQ(report.encoding->utf8, c.choice == DataEncoding::kUtf8);
      EXPECT_EQ(report.encoding->basis,
                c.choice == DataEncoding::kAuto ? EncodingBasis::kContent : EncodingBasis::kChosen);
      if (!c.utf8Set) {
        const std::string x12 = *env.File(Text(kDestination) + u"\\X12.TXT");
        EXPECT_NE(x12.find("\xCF\xBB"), std::string::npos);
      }
      continue;
    }
    ASSERT_FALSE(report.completed);
    ASSERT_EQ(ui.messages.size(), 1u);
    for (const Text& part : c.named)
      EXPECT_NE(ui.messages[0].text.find(part), Text::npos) << test::U8(ui.messages[0].text);
    ASSERT_TRUE(report.error.has_value());
    EXPECT_EQ(report.error->kind, ErrorKind::kData);
    EXPECT_EQ(report.error->line, c.line);
    EXPECT_EQ(report.error->column, c.column);
    // Nothing was written, not even the destination folder.
    std::map<Text, std::string> after = Written(env);
    after.erase(u"W:\\PATDAT\\OSTRACONV.LCK");
    EXPECT_EQ(after, before);
    EXPECT_FALSE(env.FolderExists(u"W:\\OUT\\P001"));
  }
}

TEST(Utf8DataSetTest, ACharacterWithoutACodePage932FormStopsTheRunNamingItsLine) {
  MemoryEnv env;
  PutSample(env, AsUtf8);
  // The MDT file in UTF-8 with "𠮷" (outside code page 932) in a soil name of its 4th line.
  std::string mdt = *env.File(u"W:\\GEO\\MDT0001.GDF");
  size_t line4 = 0;
  for (int i = 0; i < 3; ++i) line4 = mdt.find('\n', line4) + 1;
  const size_t comma = mdt.find(',', line4);
  mdt.insert(comma + 1, "\xF0\xA0\xAE\xB7");
  env.SetFile(u"W:\\GEO\\MDT0001.GDF", mdt);
  const std::map<Text, std::string> before = Written(env);
  test::RecordingObserver ui;
  const RunReport report = Convert(env, ui);
  ASSERT_FALSE(report.completed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(u"W:\\GEO\\MDT0001.GDF\" の 4 行目 5 文字目の文字「𠮷」"),
            Text::npos)
      << test::U8(ui.messages[0].text);
  // The report keeps the place apart: line 4 is "H10,5,..." and the character follows its first
  // comma.
  ASSERT_TRUE(report.error.has_value());
  EXPECT_EQ(report.error->line, 4);
  EXPECT_EQ(report.error->column, 5);
  EXPECT_EQ(report.error->value, u"𠮷");
  // Nothing was written: neither outputs nor registrations (only the lock file is new).
  std::map<Text, std::string> after = Written(env);
  after.erase(u"W:\\PATDAT\\OSTRACONV.LCK");
  EXPECT_EQ(after, before);
  EXPECT_FALSE(env.FileExists(Text(kDestination) + u"\\CNT.TXT"));
}

TEST(Utf8DataSetTest, ADestinationWithoutACodePage932FormIsRefusedBeforeAnythingIsMade) {
  MemoryEnv env;
  PutSample(env);
  const std::map<Text, std::string> before = Written(env);
  test::RecordingObserver ui;
  const RunReport report = ui.Run(SampleRequest(u"W:\\OUT\\P001\\𠮷田\\B-1"), env);
  ASSERT_FALSE(report.completed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MsgIcon::kExclamation);
  EXPECT_NE(ui.messages[0].text.find(u"の文字「𠮷」"), Text::npos) << test::U8(ui.messages[0].text);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_FALSE(env.FolderExists(u"W:\\OUT\\P001"));
  EXPECT_EQ(Written(env), before);
}

}  // namespace
}  // namespace ostra
