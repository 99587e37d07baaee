// A data set saved as UTF-8 (what today's editors do by default) converts to the bytes its code
// page 932 twin gives, and says so; a character code page 932 cannot hold stops the run first.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "env/memory_env.h"
#include "run/run.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

constexpr const char16_t* kDestination = u"W:\\OUT\\P001\\SITE\\B-1";

RunOutcome Convert(MemoryEnv& env, test::FakeUi& ui, AppState& app) {
  app.patdatFolder = u"W:\\PATDAT\\";
  app.lockWait = std::chrono::milliseconds(0);
  return Command1_Click(app, env, ui, u"W:\\GEO\\MDT0001.GDF", kDestination);
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
  test::FakeUi twinUi;
  AppState twinApp;
  ASSERT_EQ(Convert(twin, twinUi, twinApp), RunOutcome::kCompleted);
  for (const char* bom : {"", "\xEF\xBB\xBF"}) {
    MemoryEnv env;
    PutSample(env, [&](const std::string& bytes) { return bom + AsUtf8(bytes); });
    test::FakeUi ui;
    AppState app;
    ASSERT_EQ(Convert(env, ui, app), RunOutcome::kCompleted) << test::U8(ui.messages.at(0).text);
    std::map<Text, std::string> written = Written(env);
    for (auto& [path, bytes] : Written(twin)) {
      if (path.rfind(u"W:\\GEO\\", 0) == 0) continue;  // the data set itself
      EXPECT_EQ(written[path], bytes) << test::U8(path);
    }
    // The report tells which files were read as UTF-8: with a byte order mark every one; without,
    // those that hold Japanese (ASCII alone reads the same either way).
    for (const RunReport::Section& s : app.lastReport.sections) {
      if (s.status != RunReport::SectionStatus::kConverted) continue;
      const std::string bytes = *env.File(s.file);
      const bool japanese =
          std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
      EXPECT_EQ(s.utf8, japanese) << test::U8(s.file);
    }
    EXPECT_NE(ReportText(app.lastReport).find(u"UTF-8 として読み込み"), Text::npos);
  }
  for (const RunReport::Section& s : twinApp.lastReport.sections) EXPECT_FALSE(s.utf8);
}

TEST(Utf8DataSetTest, ACharacterWithoutACodePage932FormStopsTheRunNamingItsLine) {
  MemoryEnv env;
  PutSample(env);
  // The MDT file in UTF-8 with "𠮷" (outside code page 932) in a soil name of its 4th line.
  std::string mdt = AsUtf8(*env.File(u"W:\\GEO\\MDT0001.GDF"));
  size_t line4 = 0;
  for (int i = 0; i < 3; ++i) line4 = mdt.find('\n', line4) + 1;
  const size_t comma = mdt.find(',', line4);
  mdt.insert(comma + 1, "\xF0\xA0\xAE\xB7");
  env.SetFile(u"W:\\GEO\\MDT0001.GDF", mdt);
  const std::map<Text, std::string> before = Written(env);
  test::FakeUi ui;
  AppState app;
  ASSERT_EQ(Convert(env, ui, app), RunOutcome::kStopped);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(u"W:\\GEO\\MDT0001.GDF\" の 4 行目 5 文字目の文字「𠮷」"),
            Text::npos)
      << test::U8(ui.messages[0].text);
  // The report keeps the place apart: line 4 is "H10,5,..." and the character follows its first
  // comma.
  ASSERT_TRUE(app.lastReport.error.has_value());
  EXPECT_EQ(app.lastReport.error->line, 4);
  EXPECT_EQ(app.lastReport.error->column, 5);
  EXPECT_EQ(app.lastReport.error->value, u"𠮷");
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
  test::FakeUi ui;
  AppState app;
  app.patdatFolder = u"W:\\PATDAT\\";
  const Text destination = u"W:\\OUT\\P001\\𠮷田\\B-1";
  ASSERT_EQ(Command1_Click(app, env, ui, u"W:\\GEO\\MDT0001.GDF", destination),
            RunOutcome::kStopped);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(u"の文字「𠮷」"), Text::npos) << test::U8(ui.messages[0].text);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_FALSE(env.FolderExists(u"W:\\OUT\\P001"));
  EXPECT_EQ(Written(env), before);
}

}  // namespace
}  // namespace ostra
