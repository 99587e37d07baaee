// The stopped-run note on the system's files: written whole, never through a link, read back as
// one line, removed with whatever holds its name.
#include "formats/run_note.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/codec.h"
#include "support/test_support.h"

namespace ostra {
namespace {

namespace fs = std::filesystem;

TEST(RunNoteFileTest, WrittenInPlaceOfALinkReadAsOneLineAndRemoved) {
  test::TempDrive drive(u'T');
  Env& env = drive.Files();
  fs::create_directories(drive.Host("OUT"));
  const fs::path note = drive.Host("OUT/OSTRACONV_STOPPED.TXT");
  EXPECT_FALSE(ReadRunNote(env, u"T:\\OUT\\"));
  RemoveRunNote(env, u"T:\\OUT");  // none: nothing to do

  // Links in the note's and the temporary file's places lead elsewhere: neither is followed.
  test::WriteSjis(drive.Host("elsewhere.txt"), "keep");
#ifndef _WIN32
  fs::create_symlink(drive.Host("elsewhere.txt"), note);
  fs::create_symlink(drive.Host("elsewhere.txt"), drive.Host("OUT/OSTRACONV_STOPPED.TMP"));
#endif
  WriteRunNote(env, u"T:\\OUT", u"エラー `62 ファイルの終わり\r`T:\\GEO\\NDT0001.GDF`");
  EXPECT_EQ(test::ReadBytes(drive.Host("elsewhere.txt")), "keep");
  EXPECT_FALSE(fs::is_symlink(note));
  EXPECT_FALSE(fs::exists(drive.Host("OUT/OSTRACONV_STOPPED.TMP")));
  // Code page 932 with CR LF, as the program's other text files.
  const std::string bytes = test::ReadBytes(note);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_NE(bytes.find(EncodeCp932(u"理由：")), std::string::npos);

  const std::optional<Text> shown = ReadRunNote(env, u"T:\\OUT\\");
  ASSERT_TRUE(shown);
  const Text head = u"変換は途中で止まりました（";
  ASSERT_EQ(shown->rfind(head, 0), 0u) << test::U8(*shown);
  // "（2026/12/09 14:38）：" then the reason, its line break a blank.
  const Text time = shown->substr(head.size(), 16);
  EXPECT_EQ(time[4], u'/');
  EXPECT_EQ(time[13], u':');
  EXPECT_EQ(shown->substr(head.size() + 16),
            u"）：エラー `62 ファイルの終わり `T:\\GEO\\NDT0001.GDF`");

  // A note written by hand or cut short still says that the run stopped.
  test::WriteSjis(note, "x\r\n");
  EXPECT_EQ(ReadRunNote(env, u"T:\\OUT"), Text(u"変換は途中で止まりました"));

  RemoveRunNote(env, u"T:\\OUT");
  EXPECT_FALSE(fs::exists(note));
#ifndef _WIN32
  // A dangling link in its place is removed as a note is.
  fs::create_symlink(drive.Host("gone.txt"), note);
  RemoveRunNote(env, u"T:\\OUT");
  EXPECT_FALSE(fs::is_symlink(note));
#endif
}

}  // namespace
}  // namespace ostra
