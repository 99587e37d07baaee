// The system's files as a shared folder may hold them: links planted by someone else, pipes,
// read-only tables, and queries the system cannot answer. Nothing is written through a link,
// nothing waits on a pipe, and a query that fails says so instead of "not there".
#include <gtest/gtest.h>

#include "env/files.h"
#include "env/host_env.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace ostra {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// Each way of writing a file of a name that is a link to `victim` (or another name of it).
TEST(HostFaultsTest, NothingIsWrittenThroughALinkOrToAnotherName) {
  using Write = std::function<void(Env&, const Text&)>;
  const std::vector<std::pair<const char*, Write>> writes = {
      {"create",
       [](Env& env, const Text& path) {
         OutFile out(env, path);
         out.Line(u"new");
         out.Close();
       }},
      {"append", [](Env& env, const Text& path) { AppendLines(env, path, {u"new"}); }},
      {"copy",
       [](Env& env, const Text& path) {
         OutFile out(env, path + u".SRC");
         out.Line(u"new");
         out.Close();
         env.CopyFile(path + u".SRC", path);
       }},
      {"cut", [](Env& env, const Text& path) { env.Truncate(path, 0); }},
  };
  for (const auto& [what, write] : writes) {
    for (const char* link : {"symbolic", "dangling", "hard"}) {
      test::TempDrive drive;
      test::WriteBytes(drive.Host("victim.txt"), "secret\r\n");
      const std::string l = link;
      if (l == "symbolic") fs::create_symlink(drive.Host("victim.txt"), drive.Host("N12.TXT"));
      if (l == "dangling") fs::create_symlink(drive.Host("gone.txt"), drive.Host("N12.TXT"));
      if (l == "hard") fs::create_hard_link(drive.Host("victim.txt"), drive.Host("N12.TXT"));
      const Text path = drive.Drive("N12.TXT");
      try {
        write(drive.Files(), path);
      } catch (const FileError& e) {
        // Refusing is allowed (appending to a link); the message names the file.
        EXPECT_NE(e.Path().find(path), Text::npos) << what << " " << link;
      }
      EXPECT_EQ(test::ReadBytes(drive.Host("victim.txt")), "secret\r\n") << what << " " << link;
      EXPECT_FALSE(fs::exists(drive.Host("gone.txt"))) << what << " " << link;
    }
  }
}

TEST(HostFaultsTest, APipeIsNeverWaitedOnAndTheFactsOfEachKindOfName) {
  test::TempDrive drive;
  ASSERT_EQ(::mkfifo(drive.Host("KDT0001.GDF").c_str(), 0666), 0);
  Env& env = drive.Files();
  const Text pipe = drive.Drive("KDT0001.GDF");
  EXPECT_EQ(env.Inspect(pipe).kind, FileKind::kOther);
  EXPECT_THROW(env.ReadFile(pipe), FileError);  // would wait for a writer if opened blocking
  EXPECT_THROW(AppendLines(env, pipe, {u"x"}), FileError);  // would wait for a reader

  test::WriteBytes(drive.Host("KISHITU.TXT"), "1,a\r\n");
  fs::create_hard_link(drive.Host("KISHITU.TXT"), drive.Host("OTHER.TXT"));
  fs::create_symlink(drive.Host("KISHITU.TXT"), drive.Host("LINK.TXT"));
  test::WriteBytes(drive.Host("L13.TXT"), "1,a\r\n");
  fs::permissions(drive.Host("L13.TXT"), fs::perms::owner_read | fs::perms::group_read);
  const FileFacts hard = env.Inspect(drive.Drive("KISHITU.TXT"));
  EXPECT_EQ(hard.kind, FileKind::kFile);
  EXPECT_EQ(hard.links, 2);
  EXPECT_FALSE(hard.link);
  EXPECT_TRUE(env.Inspect(drive.Drive("LINK.TXT")).link);
  EXPECT_TRUE(env.Inspect(drive.Drive("L13.TXT")).readOnly);
  EXPECT_FALSE(hard.readOnly);
  const FileFacts none = env.Inspect(drive.Drive("NONE.TXT"));
  EXPECT_EQ(none.kind, FileKind::kNone);
  EXPECT_FALSE(none.link);
}

// Root is refused nothing by permissions: a name too long and a loop of links make the system
// fail a query for another reason than "no such file".
TEST(HostFaultsTest, AQueryTheSystemCannotAnswerThrowsNamingThePath) {
  test::TempDrive drive;
  fs::create_symlink(drive.Host("B"), drive.Host("A"));
  fs::create_symlink(drive.Host("A"), drive.Host("B"));
  std::unique_ptr<Env> host = NewHostEnv(nullptr);
  const Text tooLong = HostText(drive.Root()) + u"/" + Text(300, u'x');
  const Text loop = HostText(drive.Host("A"));
  for (const Text& path : {tooLong, loop, loop + u"/X"}) {
    auto expectThrow = [&](const char* query, const std::function<void()>& op) {
      try {
        op();
        ADD_FAILURE() << query << " answered for " << test::U8(path);
      } catch (const FileError& e) {
        EXPECT_EQ(e.Path(), path) << query;
      }
    };
    expectThrow("KindOf", [&] { host->KindOf(path); });
    expectThrow("FileSize", [&] { host->FileSize(path); });
    expectThrow("IsSelectable", [&] { host->IsSelectable(path); });
    expectThrow("ListFolder", [&] { host->ListFolder(path); });
    if (path != loop) expectThrow("Inspect", [&] { host->Inspect(path); });
  }
  // A name that is simply not there is no error.
  EXPECT_EQ(host->KindOf(HostText(drive.Host("none/x"))), FileKind::kNone);
  EXPECT_TRUE(host->ListFolder(HostText(drive.Host("none"))).empty());
}

#endif

}  // namespace
}  // namespace ostra
