// The note of a stopped run: a run that stops after it began to change its destination leaves
// it there, one that stops before leaves none, and a completed run removes it.
#include "formats/run_note.h"

#include <gtest/gtest.h>

#include "env/fault_env.h"
#include "sample_env.h"

namespace ostra {
namespace {

const Text kDestination = kSampleDestination;
const Text kNotePath = kDestination + u"\\" + kRunNoteFileName;

// Files of the destination other than the note.
int OutputsIn(MemoryEnv& env) {
  int n = 0;
  for (const FolderEntry& e : env.ListFolder(kDestination)) n += e.name != kRunNoteFileName ? 1 : 0;
  return n;
}

TEST(RunNoteTest, ThereExactlyWhenAStoppedRunBeganTheOutputs) {
  long operations = 0;
  {
    MemoryEnv env;
    PutSample(env);
    FaultEnv counting(env, 0);
    ASSERT_TRUE(ConvertSample(counting).completed);
    operations = counting.Count();
    EXPECT_FALSE(env.FileExists(kNotePath));
  }
  // Every open, write and change fails in turn: a failure on a file of the destination is an
  // attempt to change it; anything the destination holds afterwards was written by the run.
  constexpr auto kChanges = static_cast<FaultKind>(static_cast<unsigned>(FaultKind::kOpen) |
                                                   static_cast<unsigned>(FaultKind::kWrite) |
                                                   static_cast<unsigned>(FaultKind::kChange));
  int notes = 0;
  int stoppedBefore = 0;
  for (long n = 1; n <= operations; ++n) {
    MemoryEnv env;
    PutSample(env);
    FaultEnv faulty(env, n, kChanges);
    const RunReport report = ConvertSample(faulty);
    if (!faulty.Failed()) break;
    const Text failed = faulty.FailedPath();
    EXPECT_FALSE(env.FileExists(kDestination + u"\\OSTRACONV_STOPPED.TMP")) << n;
    if (report.completed) {
      EXPECT_FALSE(env.FileExists(kNotePath)) << n << " " << test::U8(failed);
      continue;
    }
    const bool begun = OutputsIn(env) > 0 || failed.rfind(kDestination + u"\\", 0) == 0;
    ASSERT_EQ(env.FileExists(kNotePath), begun) << n << " " << test::U8(failed);
    if (!begun) {
      ++stoppedBefore;
      continue;
    }
    ++notes;
    ASSERT_TRUE(report.error);
    // What is shown: the stop's message, on one line, after the time.
    const std::optional<Text> shown = ReadRunNote(env, kDestination);
    ASSERT_TRUE(shown) << n;
    EXPECT_EQ(shown->rfind(u"変換は途中で止まりました（", 0), 0u) << test::U8(*shown);
    EXPECT_NE(shown->find(u"）：" + report.error->message.substr(0, 8)), Text::npos)
        << test::U8(*shown) << " / " << test::U8(report.error->message);
    EXPECT_EQ(shown->find(u'\r'), Text::npos) << n;
    // Neither an output nor a leftover: a completed run after it removes it without a word.
    if (n % 5 == 0) {
      test::RecordingObserver again;
      const RunReport next = again.Run(SampleRequest(), env);
      ASSERT_TRUE(next.completed) << n;
      EXPECT_FALSE(env.FileExists(kNotePath)) << n;
      for (const RunReport::Output& o : next.outputs) EXPECT_NE(o.file, kRunNoteFileName);
      for (const Text& w : again.warnings) EXPECT_EQ(w.find(u"OSTRACONV"), Text::npos);
    }
  }
  EXPECT_GT(notes, 20);
  EXPECT_GT(stoppedBefore, 0);
}

TEST(RunNoteTest, AStopBeforeTheOutputsKeepsAnEarlierNoteAndATrialWritesOnlyInMemory) {
  MemoryEnv env;
  PutSample(env);
  env.AddFolder(kDestination);
  WriteRunNote(env, kDestination, u"前の理由\r二行目");
  const std::string earlier = *env.File(kNotePath);
  EXPECT_NE(ReadRunNote(env, kDestination)->find(u"：前の理由 二行目"), Text::npos);

  // The reference folder cannot be locked: nothing of the destination changed, nor the note.
  FaultEnv noLock(env, 1, FaultKind::kLock);
  EXPECT_FALSE(ConvertSample(noLock).completed);
  EXPECT_EQ(*env.File(kNotePath), earlier);

  // A trial that stops part-way (a broken NDT file, after the MDT's outputs) notes it in its
  // memory only; the real note stays as it was.
  const Text ndt = u"W:\\GEO\\NDT0001.GDF";
  const std::string ndtBytes = *env.File(ndt);
  env.SetFile(ndt, "1,2,x\r\n");
  MemoryEnv trial(&env);
  test::RecordingObserver observer;
  ConversionRequest request = SampleRequest();
  request.trial = true;
  const RunReport stopped = ConvertInMemory(request, trial, observer);
  ASSERT_FALSE(stopped.completed);
  const std::optional<Text> shown = ReadRunNote(trial, kDestination);
  ASSERT_TRUE(shown);
  EXPECT_NE(shown->find(u"NDT0001.GDF"), Text::npos) << test::U8(*shown);
  EXPECT_EQ(*env.File(kNotePath), earlier);

  // A completed run removes the note.
  env.SetFile(ndt, ndtBytes);
  EXPECT_TRUE(ConvertSample(env).completed);
  EXPECT_FALSE(env.FileExists(kNotePath));
  EXPECT_FALSE(ReadRunNote(env, kDestination));
}

}  // namespace
}  // namespace ostra
