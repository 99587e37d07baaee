// A reference folder shared by a group: two users (different user ids, one group, umask 022)
// convert into it. The second run waits for the first, neither is shut out by what the other
// created, and a run that cannot lock stops before it changes anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/process_support.h"
#include "cli/reliability_support.h"
#include "env/lock.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#endif

namespace ostra::test {
namespace {

#ifndef _WIN32
constexpr uid_t kUserA = 54001;
constexpr uid_t kUserB = 54002;
constexpr gid_t kGroup = 54000;

// Becomes `uid` in the shared group with umask 022; in a child process only.
void BecomeUser(uid_t uid) {
  const gid_t groups[] = {kGroup};
  if (setgroups(1, groups) != 0 || setgid(kGroup) != 0 || setuid(uid) != 0) _exit(126);
  umask(022);
}

// Runs `program` as `uid`; its stderr goes to `errFile`. Returns the exit status.
int RunCliAs(uid_t uid, const fs::path& program, const std::vector<std::string>& args,
             const fs::path& errFile) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int devnull = open("/dev/null", O_RDWR);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    BecomeUser(uid);
    dup2(devnull, 0);
    dup2(devnull, 1);
    dup2(err, 2);
    setenv("OSTRACONV_LOCK_WAIT", "60", 1);
    std::vector<std::string> words = {program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Whether `uid` may run `program`: every folder above it must let the user pass.
bool CanRun(uid_t uid, const fs::path& program) {
  const pid_t pid = fork();
  if (pid == 0) {
    BecomeUser(uid);
    _exit(access(program.c_str(), X_OK) == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class SharedFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (getuid() != 0) GTEST_SKIP() << "switching users needs root";
    // Everyone may pass through the drive's root and read the data; the group shares PATDAT
    // (set-group-id, group-writable); each user has a destination folder of their own.
    fs::permissions(drive_.Root(),
                    fs::perms::all & ~fs::perms::others_write & ~fs::perms::group_write);
    // The users run a copy of the program in the drive: the build folder may lie where they
    // cannot reach it (a checkout in a private home folder).
    fs::create_directories(cli_.parent_path());
    fs::copy_file(OSTRA_CLI_PATH, cli_);
    fs::permissions(cli_.parent_path(), fs::perms::owner_all | fs::perms::group_read |
                                            fs::perms::group_exec | fs::perms::others_read |
                                            fs::perms::others_exec);
    fs::permissions(cli_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    for (uid_t user : {kUserA, kUserB}) {
      if (!CanRun(user, cli_)) {
        GTEST_SKIP() << "user " << user << " cannot reach " << cli_.string()
                     << ": a folder above the temporary folder " << drive_.Root().string()
                     << " shuts other users out (set TMPDIR to a folder they may pass through)";
      }
    }
    CopyExamplePatdat(drive_.Host("PATDAT"));
    Share(drive_.Host("PATDAT"), 02775, 0664);
    for (const char* user : {"A", "B"}) {
      const std::string n = user;
      fs::create_directories(drive_.Host("GEO" + n));
      WriteSjisLines(
          drive_.Host("GEO" + n + "/MDT0001.GDF"),
          LayerSection({"共有試験" + n + "の1", "共有試験" + n + "の2"}, {"共" + n, "有" + n}));
      fs::create_directories(drive_.Host("OUT" + n));
      chown(drive_.Host("OUT" + n).c_str(), n == "A" ? kUserA : kUserB, kGroup);
    }
  }

  static void Share(const fs::path& folder, mode_t folderMode, mode_t fileMode) {
    chown(folder.c_str(), 0, kGroup);
    chmod(folder.c_str(), folderMode);
    for (const auto& e : fs::directory_iterator(folder)) {
      chown(e.path().c_str(), 0, kGroup);
      chmod(e.path().c_str(), fileMode);
    }
  }

  std::vector<std::string> Args(const std::string& user) const {
    return {"--drive",
            "S=" + drive_.Root().string(),
            "--patdat",
            "S:\\PATDAT",
            "--yes",
            "S:\\GEO" + user + "\\MDT0001.GDF",
            "S:\\OUT" + user + "\\B-1"};
  }

  std::vector<std::string> Names(const std::string& table) const {
    return TableNames(drive_.Host("PATDAT/" + table), table == "L17.TXT" ? 2 : 1);
  }

  TempDrive drive_{u'S'};
  const fs::path cli_ = drive_.Host("BIN/ostraconv-cli");
};

TEST_F(SharedFolderTest, TheSecondUserWaitsForTheFirstAndBothRegister) {
  // A converts first: everything A's run creates or rewrites in PATDAT stays usable by B.
  ASSERT_EQ(RunCliAs(kUserA, cli_, Args("A"), drive_.Host("a.err")), 0)
      << ReadBytes(drive_.Host("a.err"));

  // A holds the lock (as a run of A would) while B starts; B waits, then converts.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    BecomeUser(kUserA);
    FileLock lock = FileLock::TryAcquire(drive_.Host("PATDAT/OSTRACONV.LCK"), u"lock");
    const char c = lock.Held() ? 'y' : 'n';
    if (write(ready[1], &c, 1) != 1) _exit(1);
    sleep(2);
    _exit(0);
  }
  char held = 0;
  ASSERT_EQ(read(ready[0], &held, 1), 1);
  ASSERT_EQ(held, 'y');
  EXPECT_EQ(RunCliAs(kUserB, cli_, Args("B"), drive_.Host("b.err")), 0)
      << ReadBytes(drive_.Host("b.err"));
  waitpid(holder, nullptr, 0);
  EXPECT_NE(ReadBytes(drive_.Host("b.err")).find("参照フォルダを他の変換が使用中です"),
            std::string::npos)
      << ReadBytes(drive_.Host("b.err"));

  ASSERT_TRUE(WellFormedTables(drive_.Host("PATDAT")));
  const auto kishitu = Names("KISHITU.TXT");
  const auto xkishitu = Names("XKISHITU.TXT");
  for (const char* name : {"共有試験Aの1", "共有試験Aの2", "共有試験Bの1", "共有試験Bの2"}) {
    EXPECT_EQ(std::count(kishitu.begin(), kishitu.end(), name), 1) << name;
    EXPECT_EQ(std::count(xkishitu.begin(), xkishitu.end(), name), 1) << name;
  }
  // A third run of A after B rewrote XKISHITU.TXT: still allowed to change every table.
  WriteSjisLines(drive_.Host("GEOA/MDT0001.GDF"), LayerSection({"共有試験Aの3"}, {"共C"}));
  EXPECT_EQ(RunCliAs(kUserA, cli_, Args("A"), drive_.Host("a.err")), 0)
      << ReadBytes(drive_.Host("a.err"));
  struct stat st {};
  ASSERT_EQ(stat(drive_.Host("PATDAT/XKISHITU.TXT").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0664u) << "a rewrite keeps the table's permissions";
}

TEST_F(SharedFolderTest, ARunThatCannotLockStopsBeforeChangingAnything) {
  // A lock file B may not open: B's run cannot guard the folder.
  const fs::path lock = drive_.Host("PATDAT/OSTRACONV.LCK");
  WriteBytes(lock, "");
  chown(lock.c_str(), kUserA, kGroup);
  chmod(lock.c_str(), 0600);
  const std::vector<std::string> before = {ReadBytes(drive_.Host("PATDAT/KISHITU.TXT")),
                                           ReadBytes(drive_.Host("PATDAT/XKISHITU.TXT")),
                                           ReadBytes(drive_.Host("PATDAT/L13.TXT"))};
  EXPECT_EQ(RunCliAs(kUserB, cli_, Args("B"), drive_.Host("b.err")), 1);
  const std::string err = ReadBytes(drive_.Host("b.err"));
  EXPECT_NE(err.find("OSTRACONV.LCK"), std::string::npos) << err;
  EXPECT_EQ(before, (std::vector<std::string>{ReadBytes(drive_.Host("PATDAT/KISHITU.TXT")),
                                              ReadBytes(drive_.Host("PATDAT/XKISHITU.TXT")),
                                              ReadBytes(drive_.Host("PATDAT/L13.TXT"))}));
  EXPECT_FALSE(fs::exists(drive_.Host("OUTB/B-1/X1.TXT")));
}
#endif

}  // namespace
}  // namespace ostra::test
