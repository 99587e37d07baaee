// The lock a run takes on its reference folder, on the system's files.
#include "env/lock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "support/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace ostra {
namespace {

TEST(LockTest, DeletingTheLockFileLetsNoSecondHolderIn) {
  test::TempDrive drive(u'L');
  const test::fs::path file = drive.Host("OSTRACONV.LCK");
  FileLock first = FileLock::TryAcquire(file, u"L:\\OSTRACONV.LCK");
  ASSERT_TRUE(first.Held());
  std::error_code ec;
  test::fs::remove(file, ec);  // refused on Windows while held: the same end
  EXPECT_FALSE(FileLock::TryAcquire(file, u"L:\\OSTRACONV.LCK").Held());
  first.Release();
  EXPECT_TRUE(FileLock::TryAcquire(file, u"L:\\OSTRACONV.LCK").Held());
}

TEST(LockTest, ALockFileThatIsNoOrdinaryFileStopsNamingIt) {
#ifdef _WIN32
  GTEST_SKIP() << "pipes and links are made with POSIX calls";
#else
  test::TempDrive drive(u'L');
  const test::fs::path file = drive.Host("OSTRACONV.LCK");
  std::ofstream(drive.Host("target")).put('x');
  const std::vector<std::pair<const char*, std::function<void()> > > kinds = {
      {"pipe", [&] { ASSERT_EQ(mkfifo(file.c_str(), 0666), 0); }},
      {"folder", [&] { test::fs::create_directory(file); }},
      {"link to a file", [&] { test::fs::create_symlink(drive.Host("target"), file); }},
      {"link to nothing", [&] { test::fs::create_symlink(drive.Host("none"), file); }},
      {"link to a device", [&] { test::fs::create_symlink("/dev/null", file); }},
  };
  for (const auto& [kind, make] : kinds) {
    test::fs::remove_all(file);
    make();
    try {
      FileLock lock = FileLock::TryAcquire(file, u"L:\\OSTRACONV.LCK");
      ADD_FAILURE() << kind << ": taken";
    } catch (const FileError& e) {
      EXPECT_EQ(e.Path(), u"L:\\OSTRACONV.LCK") << kind;
      EXPECT_EQ(e.Detail(), FileDetail::kNotRegular) << kind;
    }
  }
  EXPECT_FALSE(test::fs::exists(drive.Host("none")));
#endif
}

}  // namespace
}  // namespace ostra
