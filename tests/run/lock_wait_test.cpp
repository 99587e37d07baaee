// A run that finds the reference folder in use waits for it, and can be given up while it waits
// without having changed anything.
#include <gtest/gtest.h>

#include "run/run.h"
#include "run/sample_env.h"

namespace ostra {
namespace {

// Asks to give up after a number of event passes.
class GivingUpUi : public test::FakeUi {
 public:
  explicit GivingUpUi(int passes) : passes_(passes) {}
  bool CancelRequested() override { return eventPasses >= passes_; }

 private:
  int passes_;
};

constexpr const char16_t* kLock = u"W:\\PATDAT\\OSTRACONV.LCK";

TEST(LockWaitTest, GivingUpWhileWaitingChangesNothing) {
  MemoryEnv env;
  PutSample(env);
  std::unique_ptr<HeldLock> other = env.TryLock(kLock);
  ASSERT_NE(other, nullptr);
  AppState app;
  app.patdatFolder = u"W:\\PATDAT\\";
  const std::optional<std::string> dictionaryBefore = env.File(u"W:\\PATDAT\\KISHITU.TXT");
  const std::vector<Text> filesBefore = env.WrittenFiles();

  // The first pass is the one after the please-wait line; the wait's passes follow.
  GivingUpUi ui(3);
  EXPECT_EQ(Command1_Click(app, env, ui, u"W:\\GEO\\MDT0001.GDF", u"W:\\OUT\\NEW\\B-1"),
            RunOutcome::kStopped);
  // The folder question came before the wait; the folders it announced were not made.
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(env.KindOf(u"W:\\OUT\\NEW"), FileKind::kNone);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(ui.status.empty());
  EXPECT_FALSE(ui.busy);
  EXPECT_FALSE(app.completionShown);
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
  AppState app;
  app.patdatFolder = u"W:\\PATDAT\\";
  test::FakeUi ui;
  EXPECT_EQ(Command1_Click(app, env, ui, u"W:\\GEO\\MDT0001.GDF", u"W:\\OUT\\NEW\\B-1"),
            RunOutcome::kCompleted);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(env.KindOf(u"W:\\OUT\\NEW\\B-1"), FileKind::kFolder);
  EXPECT_TRUE(env.File(u"W:\\OUT\\NEW\\B-1\\X1.TXT").has_value());
}

TEST(LockWaitTest, ADeclinedQuestionStopsBeforeTheLock) {
  MemoryEnv env;
  PutSample(env);
  std::unique_ptr<HeldLock> other = env.TryLock(kLock);
  AppState app;
  app.patdatFolder = u"W:\\PATDAT\\";
  test::FakeUi ui;
  ui.answer = false;
  EXPECT_EQ(Command1_Click(app, env, ui, u"W:\\GEO\\MDT0001.GDF", u"W:\\OUT\\NEW\\B-1"),
            RunOutcome::kStopped);
  // No wait at all: the run stopped at the question.
  EXPECT_EQ(ui.eventPasses, 1);
  EXPECT_EQ(env.KindOf(u"W:\\OUT\\NEW"), FileKind::kNone);
}

}  // namespace
}  // namespace ostra
