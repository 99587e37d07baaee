// One conversion of the sample on disk looks each file it reads or writes up at most three
// times (queries, folder listings and opens together, the lock included), reads each input and
// table once and writes each output once. (That the bytes are those written without the memory
// is what the expected outputs show.)
#include <gtest/gtest.h>

#include "env/counting_env.h"
#include "env/host_env.h"
#include "recording_observer.h"
#include "run/report.h"
#include "sample_env.h"

namespace ostra {
namespace {

// The program's folder inside the drive, so that nothing is written beside the test program.
class ProgramIn : public EnvWrapper {
 public:
  ProgramIn(Env& target, Text folder) : EnvWrapper(target), folder_(std::move(folder)) {}
  Text ProgramFolder() override { return folder_; }

 private:
  Text folder_;
};

struct Converted {
  bool completed = false;
  Text report;
  // What reached the system's files.
  long lookups = 0;
  size_t filesTouched = 0;
  std::map<Text, long> reads;
  std::map<Text, long> writes;
};

Converted ConvertOnDisk() {
  test::TempDrive drive(u'W');
  test::fs::create_directories(drive.Host("GEO"));
  for (const char* name : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
    const std::string file = std::string(name) + "0001.GDF";
    test::WriteBytes(drive.Host("GEO/" + file), test::ReadBytes(test::ExamplesDir() / file));
  }
  test::CopyExamplePatdat(drive.Host("PATDAT"));
  test::fs::create_directories(drive.Host("BIN"));
  test::fs::create_directories(drive.Host("OUT"));
  std::unique_ptr<Env> host = NewHostEnv(nullptr);
  ProgramIn program(*host, HostText(drive.Host("BIN")));
  CountingEnv counting(program);
  DriveMap drives;
  drives.Set(u'W', drive.Root());
  DriveMapEnv env(counting, drives);
  Converted result;
  {
    DriveMapEnv::RunScope scope(env);
    test::RecordingObserver observer;
    const RunReport report = observer.Run(SampleRequest(), env);
    result.completed = report.completed;
    result.report = ReportText(report);
    for (const auto& m : observer.messages) result.report += u"\n" + m.text;
    for (const auto& w : observer.warnings) result.report += u"\n" + w;
  }
  result.lookups = counting.Lookups();
  result.filesTouched = counting.FilesTouched().size();
  for (const auto& [path, n] : counting.Reads())
    result.reads[env.Drives().ToDriveForm(HostPath(path)).value_or(path)] = n;
  for (const auto& [path, n] : counting.Writes())
    result.writes[env.Drives().ToDriveForm(HostPath(path)).value_or(path)] = n;
  return result;
}

TEST(AccessCountTest, SampleLooksEachFileUpAtMostThreeTimes) {
  const Converted run = ConvertOnDisk();
  ASSERT_TRUE(run.completed) << test::U8(run.report);
  EXPECT_GE(run.filesTouched, 40u);  // six inputs, thirteen tables and the lock, the outputs
  EXPECT_LE(run.lookups, static_cast<long>(3 * run.filesTouched)) << run.lookups;
  for (const auto& [path, n] : run.reads) EXPECT_EQ(n, 1) << test::U8(path) << " read";
  for (const auto& [path, n] : run.writes) {
    // Only the dictionary is extended in several steps (one entry at a time).
    if (path != u"W:\\PATDAT\\KISHITU.TXT") {
      EXPECT_EQ(n, 1) << test::U8(path) << " written";
    }
  }
}

}  // namespace
}  // namespace ostra
