// A conversion killed at every moment that matters: the files as they stood when each file
// operation was about to run are what a killed process leaves behind. From each of those states
// the tables must be whole, and converting again must give the bytes of a conversion that was
// never interrupted.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "cli/reliability_support.h"
#include "env/fault_env.h"
#include "env/memory_env.h"
#include "run/run.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

// A temporary file of a table rewrite, which a killed process cannot remove (the next run
// does).
bool IsRewriteLeftover(const Text& path) {
  const size_t slash = path.find_last_of(u'\\');
  const Text name = path.substr(slash + 1);
  return name.size() == 12 && name.rfind(u"XK", 0) == 0 && name.substr(8) == u".TMP";
}

bool IsExtendedTable(const Text& path) {
  for (const auto& [name, fields] : kExtendedTables) {
    if (path == Text(u"W:\\PATDAT\\") + name) return true;
  }
  return false;
}

// Every file with its bytes, leaving out the leftovers of a kill and the extended tables,
// which are compared entry by entry: an entry the killed run had put into XKISHITU.TXT only is
// copied into KISHITU.TXT as the reader gives it, with its blank fields empty.
std::map<Text, std::string> FilesOf(MemoryEnv& env) {
  std::map<Text, std::string> files;
  for (const Text& path : env.WrittenFiles()) {
    if (!IsRewriteLeftover(path) && !IsExtendedTable(path)) files[path] = *env.File(path);
  }
  return files;
}

// The files of `env` as they stand, as a new Env: what the disk holds after a kill (the lock
// goes with the process).
std::unique_ptr<MemoryEnv> DiskOf(MemoryEnv& env) {
  auto copy = std::make_unique<MemoryEnv>();
  copy->SetProgramFolder(u"W:\\BIN");
  copy->AddFolder(u"W:\\BIN");
  for (const Text& path : env.WrittenFiles()) copy->SetFile(path, *env.File(path));
  return copy;
}

TEST(CrashPointTest, AfterAKillAtAnyOperationConvertingAgainGivesTheUninterruptedBytes) {
  MemoryEnv clean;
  PutSample(clean);
  FaultEnv counting(clean, 0);
  ASSERT_TRUE(ConvertSample(counting).completed);
  const std::map<Text, std::string> expected = FilesOf(clean);
  const std::map<Text, std::vector<Text>> expectedTables = TablesOf(clean);
  const long operations = counting.Count();
  ASSERT_GT(operations, 60);

  int rewriteMoments = 0;   // kills as XKISHITU.TXT was read or replaced by its rewrite
  int leftoverMoments = 0;  // kills that left a temporary file of the rewrite
  for (long n = 1; n <= operations; ++n) {
    MemoryEnv env;
    PutSample(env);
    std::unique_ptr<MemoryEnv> disk;
    FaultEnv faulty(env, n);
    faulty.AtFailure([&] { disk = DiskOf(env); });
    ConvertSample(faulty);
    ASSERT_TRUE(disk != nullptr) << n;
    if (faulty.FailedPath() == u"W:\\PATDAT\\XKISHITU.TXT") ++rewriteMoments;
    ASSERT_TRUE(TablesAreWhole(*disk))
        << "killed at operation " << n << " on " << test::U8(faulty.FailedPath());
    int leftovers = 0;
    for (const Text& path : disk->WrittenFiles()) leftovers += IsRewriteLeftover(path) ? 1 : 0;
    if (leftovers > 0) ++leftoverMoments;
    ASSERT_TRUE(ConvertSample(*disk).completed) << n;
    // The run that holds the lock next removes what the killed rewrite left.
    for (const Text& path : disk->WrittenFiles())
      ASSERT_FALSE(IsRewriteLeftover(path)) << test::U8(path) << " left after a kill at " << n;
    EXPECT_EQ(FilesOf(*disk), expected)
        << "killed at operation " << n << " on " << test::U8(faulty.FailedPath());
    if (HasFailure()) return;
  }
  EXPECT_GE(rewriteMoments, 2);
  EXPECT_GT(leftoverMoments, 0);
  test::RecordFigures("crash-points.txt", {{"moments", std::to_string(operations)},
                                           {"rewrite_moments", std::to_string(rewriteMoments)},
                                           {"leftover_moments", std::to_string(leftoverMoments)}});
}

}  // namespace
}  // namespace ostra
