// A run asked to stop (a signal, the window closed by the system) at every moment that changes
// a file: it stops at its next change with the interruption's message, leaves whole tables, and
// its report lists every file it wrote and every entry it added.
#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "base/text_lines.h"
#include "env/interrupt_env.h"
#include "formats/run_note.h"
#include "run/error_text.h"
#include "run/run.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

constexpr const char16_t* kDestination = u"W:\\OUT\\B-1";

// Sets the flag while the `at`-th change goes through, as a signal arriving then would.
class SignalAt : public EnvWrapper {
 public:
  SignalAt(Env& target, long at, std::atomic<bool>& flag)
      : EnvWrapper(target), at_(at), flag_(flag) {}
  long Count() const { return count_; }
  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override {
    Tick();
    return EnvWrapper::OpenWrite(path, mode);
  }
  void Truncate(const Text& path, std::int64_t size) override {
    Tick();
    EnvWrapper::Truncate(path, size);
  }
  void MakeFolder(const Text& path) override {
    Tick();
    EnvWrapper::MakeFolder(path);
  }
  void RemoveFile(const Text& path) override {
    Tick();
    EnvWrapper::RemoveFile(path);
  }
  void ReplaceFile(const Text& from, const Text& to) override {
    Tick();
    EnvWrapper::ReplaceFile(from, to);
  }
  std::unique_ptr<HeldLock> TryLock(const Text& path) override {
    Tick();
    return EnvWrapper::TryLock(path);
  }

 private:
  void Tick() {
    if (++count_ == at_) flag_ = true;
  }
  long at_;
  long count_ = 0;
  std::atomic<bool>& flag_;
};

TEST(InterruptTest, ARunAskedToStopAtAnyChangeStopsInOrderAndReportsWhatItDid) {
  std::atomic<bool> never{false};
  MemoryEnv clean;
  PutSample(clean);
  SignalAt counting(clean, 0, never);
  test::RecordingObserver cleanUi;
  ASSERT_TRUE(cleanUi.Run(SampleRequest(kDestination), counting).completed);
  const long changes = counting.Count();
  ASSERT_GT(changes, 20);

  for (long n = 1; n < changes; ++n) {
    MemoryEnv memory;
    PutSample(memory);
    std::atomic<bool> flag{false};
    SignalAt signal(memory, n, flag);
    InterruptEnv env(signal, flag);
    env.AllowAfterStop({kRunNoteFileName, kRunNoteTemporaryName});
    test::RecordingObserver ui;
    const RunReport report = ui.Run(SampleRequest(kDestination), env);
    ASSERT_FALSE(report.completed) << n;
    ASSERT_TRUE(report.error.has_value()) << n;
    EXPECT_EQ(report.error->message, kMsgInterrupted) << n;
    EXPECT_EQ(report.error->kind, ErrorKind::kDeclined) << n;
    ASSERT_TRUE(TablesAreWhole(memory)) << n;
    std::set<Text> written;
    for (const Text& path : memory.WrittenFiles()) {
      if (path.rfind(Text(kDestination) + u"\\", 0) == 0)
        written.insert(path.substr(Text(kDestination).size() + 1));
    }
    // Stopped once the outputs were begun: the note says so, interrupted as the run was.
    const bool noted = written.erase(kRunNoteFileName) == 1;
    if (!written.empty()) {
      EXPECT_TRUE(noted) << n;
    }
    if (noted) {
      EXPECT_NE(ReadRunNote(memory, kDestination)->find(kMsgInterrupted), Text::npos) << n;
    }
    for (const Text& w : ui.warnings) EXPECT_EQ(w.find(u"書き残せません"), Text::npos) << n;
    std::set<Text> reported;
    for (const RunReport::Output& o : report.outputs) reported.insert(o.file);
    // Every file the report lists is there; of those there, only the one the stop came in
    // (opened, not yet written out; the two title files are noted together) may be missing.
    size_t unreported = 0;
    for (const Text& file : written) unreported += reported.count(file) == 0 ? 1 : 0;
    for (const Text& file : reported) EXPECT_EQ(written.count(file), 1u) << n << test::U8(file);
    EXPECT_LE(unreported, 2u) << n;
    // Each line a table gained is in the report.
    for (const auto& [name, fields] : kExtendedTables) {
      const size_t before =
          SplitLines(DecodeCp932(test::ReadBytes(test::ExamplesDir() / "PATDAT" / test::U8(name))))
              .size();
      const size_t now =
          SplitLines(DecodeCp932(memory.ReadFile(Text(u"W:\\PATDAT\\") + name))).size();
      size_t added = 0;
      for (const RunReport::TableChange& c : report.tables) {
        if (c.file == name) added = c.added.size();
      }
      EXPECT_EQ(added, now - before) << n << " " << test::U8(name);
    }
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace ostra
