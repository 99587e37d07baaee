// A run that finds the reference folder in use waits for it, and can be given up while it waits
// without having changed anything.
#include <gtest/gtest.h>

#include "run/run.h"
#include "run/sample_env.h"

namespace ostra {
namespace {

// Asks to give up after a number of looks at the folder in use.
class GivingUpUi : public test::RecordingObserver {
 public:
  explicit GivingUpUi(int looks) : looks_(looks) {}
  bool CancelRequested() override { return waits >= looks_; }

 private:
  int looks_;
};

constexpr const char16_t* kLock = u"W:\\PATDAT\\OSTRACONV.LCK";

// The sample into a folder that does not exist yet, waiting as long as a run does by default.
ConversionRequest WaitingRequest() {
  ConversionRequest request = SampleRequest(u"W:\\OUT\\NEW\\B-1");
  request.lockWait = kDefaultLockWait;
  return request;
}

TEST(LockWaitTest, GivingUpWhileWaitingChangesNothing) {
  MemoryEnv env;
  PutSample(env);
  std::unique_ptr<HeldLock> other = env.TryLock(kLock);
  ASSERT_NE(other, nullptr);
  const ConversionRequest request = WaitingRequest();
  const std::optional<std::string> dictionaryBefore = env.File(u"W:\\PATDAT\\KISHITU.TXT");
  const std::vector<Text> filesBefore = env.WrittenFiles();

  GivingUpUi ui(2);
  const RunReport report = ui.Run(request, env);
  EXPECT_FALSE(report.completed);
  // The folder question came before the wait; the folders it announced were not made.
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(env.KindOf(u"W:\\OUT\\NEW"), FileKind::kNone);
  // Giving up was the user's own word: nothing more is shown.
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_TRUE(report.error.has_value());
  EXPECT_EQ(report.error->reason, StopReason::kGivenUp);
  EXPECT_TRUE(report.error->told);
  EXPECT_EQ(ui.waits, 2);
  EXPECT_EQ(env.File(u"W:\\PATDAT\\KISHITU.TXT"), dictionaryBefore);
  EXPECT_EQ(env.WrittenFiles(), filesBefore);
  // The wait said so before it was given up.
  bool waited = false;
  for (const Text& s : ui.statusHistory) waited |= s.find(u"使用中") != Text::npos;
  EXPECT_TRUE(waited);
}

TEST(LockWaitTest, ARunThatIsNotGivenUpCreatesTheFoldersOnceItHoldsTheLock) {
  MemoryEnv env;
  PutSample(env);
  test::RecordingObserver ui;
  EXPECT_TRUE(ui.Run(WaitingRequest(), env).completed);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(env.KindOf(u"W:\\OUT\\NEW\\B-1"), FileKind::kFolder);
  EXPECT_TRUE(env.File(u"W:\\OUT\\NEW\\B-1\\X1.TXT").has_value());
}

TEST(LockWaitTest, ADeclinedQuestionStopsBeforeTheLock) {
  MemoryEnv env;
  PutSample(env);
  std::unique_ptr<HeldLock> other = env.TryLock(kLock);
  test::RecordingObserver ui;
  ui.answer = false;
  const RunReport report = ui.Run(WaitingRequest(), env);
  EXPECT_FALSE(report.completed);
  // No wait at all: the run stopped at the question, before its work began.
  EXPECT_EQ(ui.waits, 0);
  EXPECT_EQ(ui.workStarts, 0);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(env.KindOf(u"W:\\OUT\\NEW"), FileKind::kNone);
}

}  // namespace
}  // namespace ostra
