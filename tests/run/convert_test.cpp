// The run as a value: a request in, a report out that says which stop it came to and what a
// front end shows for it; a trial over files in memory; and run/ names no part of a window.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "env/memory_env.h"
#include "run/run.h"
#include "run/validate_path.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

TEST(ConvertTest, EveryStopBeforeTheWorkCarriesWhatTheFrontEndShows) {
  const Text unencodable = u"W:\\OUT\\𠮷\\B-1";
  struct Case {
    const char* what;
    Text source;
    Text destination;
    bool answer;
    StopReason reason;
    std::vector<StopMessage> shown;
  };
  const std::vector<Case> cases = {
      {"no drive name",
       kSampleSource,
       u"OUT\\B-1",
       true,
       StopReason::kDriveName,
       {{kDriveNameMessage, MsgIcon::kInformation, u""},
        {kMsgBadPath, MsgIcon::kExclamation, u"OUT\\B-1"}}},
      {"refused path",
       kSampleSource,
       u" W:\\MY DATA",
       true,
       StopReason::kBadPath,
       {{Text(kMsgBadPath) +
             u"階層「MY DATA」に空白があります（パスに空白、「*」、「?」は使えません）。",
         MsgIcon::kExclamation, u" W:\\MY DATA"}}},
      {"blank source",
       u"  ",
       kSampleDestination,
       true,
       StopReason::kNoSource,
       {{kMsgNoSource, MsgIcon::kNone, u""}}},
      {"missing source",
       u"W:\\GEO\\MDT0009.GDF",
       kSampleDestination,
       true,
       StopReason::kNoSource,
       {{kMsgNoSource, MsgIcon::kNone, u""}}},
      {"unencodable destination",
       kSampleSource,
       unencodable,
       true,
       StopReason::kUnencodableDestination,
       // The message names the destination as the check normalised it, with a final "\".
       {{u"変換先フォルダ \"" + unencodable +
             u"\\\" の文字「𠮷」は Shift-JIS（コードページ 932）にない文字です。変換できません。",
         MsgIcon::kExclamation, u""}}},
      {"folder question answered No",
       kSampleSource,
       kSampleDestination,
       false,
       StopReason::kDeclined,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryEnv env;
    PutSample(env);
    const std::vector<Text> before = env.WrittenFiles();
    ConversionRequest request = SampleRequest(c.destination);
    request.source = c.source;
    test::RecordingObserver ui;
    ui.answer = c.answer;
    const RunReport report = ui.Run(request, env);
    EXPECT_FALSE(report.completed);
    ASSERT_TRUE(report.error.has_value());
    EXPECT_EQ(report.error->reason, c.reason);
    EXPECT_EQ(report.error->told, c.shown.empty());
    ASSERT_EQ(ui.messages.size(), c.shown.size());
    for (size_t i = 0; i < c.shown.size(); ++i) {
      EXPECT_EQ(test::U8(ui.messages[i].text), test::U8(c.shown[i].text)) << i;
      EXPECT_EQ(ui.messages[i].icon, c.shown[i].icon) << i;
      EXPECT_EQ(test::U8(ui.messages[i].title), test::U8(c.shown[i].title)) << i;
    }
    // The stop comes before the work: nothing was written, not even a folder.
    EXPECT_EQ(ui.workStarts, 0);
    EXPECT_EQ(env.WrittenFiles(), before);
    EXPECT_EQ(env.KindOf(u"W:\\OUT\\P001"), FileKind::kNone);
  }
}

TEST(ConvertTest, TrialsKeepEveryChangeInMemoryAndABatchOfThemSeesTheEarlierOnes) {
  MemoryEnv env;
  PutSample(env);
  const std::vector<Text> before = env.WrittenFiles();
  ConversionRequest request = SampleRequest();
  request.trial = true;
  test::RecordingObserver ui;
  const RunReport alone = ui.Run(request, env);
  ASSERT_TRUE(alone.completed);
  EXPECT_TRUE(alone.dryRun);
  EXPECT_TRUE(ui.questions.empty());  // the folders are made in memory without asking
  EXPECT_FALSE(alone.tables.empty());
  EXPECT_EQ(env.WrittenFiles(), before);

  // Two trials over one memory Env: the second finds the names the first registered.
  MemoryEnv trialFiles(&env);
  const RunReport first = ConvertInMemory(SampleRequest(u"W:\\OUT\\A"), trialFiles, ui);
  const RunReport second = ConvertInMemory(SampleRequest(u"W:\\OUT\\B"), trialFiles, ui);
  ASSERT_TRUE(first.completed && second.completed);
  EXPECT_TRUE(first.dryRun && second.dryRun);
  EXPECT_EQ(first.tables.size(), alone.tables.size());
  EXPECT_TRUE(second.tables.empty());
  EXPECT_TRUE(trialFiles.FileExists(u"W:\\OUT\\A\\X1.TXT"));
  EXPECT_EQ(env.WrittenFiles(), before);
}

// The run knows no window: a name of a control, an event handler or what a window does to show
// a run (the hourglass, the focus) in run/ fails here, with the file and line.
TEST(ConvertTest, RunNamesNoPartOfTheWindow) {
  const char* const names[] = {"command1",         "command2",        "text1",   "text2",
                               "label3",           "picture1",        "form1",   "_click",
                               "click(",           "hourglass",       "focus",   "uiport",
                               "appstate",         "completionshown", "setbusy", "processevents",
                               "selectdestination"};
  int files = 0;
  for (const auto& e : test::fs::directory_iterator(test::fs::path(OSTRA_SOURCE_DIR) / "src/run")) {
    std::ifstream in(e.path());
    ASSERT_TRUE(in) << e.path();
    ++files;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      for (char& ch : line) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      for (const char* name : names) {
        EXPECT_EQ(line.find(name), std::string::npos)
            << e.path().filename() << ":" << number << " names \"" << name << "\"";
      }
    }
  }
  EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace ostra
