// Host paths with Japanese names, drive letters mapped to folders, the lock file and the
// characters whose code page 932 form must not depend on the system's converter. These are the
// places where the Windows and POSIX back ends differ.
#include <gtest/gtest.h>

#include "env/drives.h"
#include "env/files.h"
#include "env/host_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

namespace fs = std::filesystem;

TEST(HostPathsTest, JapaneseFolderAndFileNamesWorkInEveryFileOperation) {
  test::TempDrive drive;
  drive.Files().MakeFolder(drive.Drive("岩盤データ"));
  const Text file = drive.Drive("岩盤データ\\柱状図.TXT");
  {
    OutFile out(drive.Files(), file);
    out.Line(u"花崗岩");
    out.Close();
  }
  // The host sees the same names, and code page 932 content.
  EXPECT_EQ(test::ReadBytes(drive.Host("岩盤データ/柱状図.TXT")), "\x89\xd4\x9b\xbc\x8a\xe2\r\n");
  EXPECT_TRUE(drive.Files().FileExists(file));
  EXPECT_TRUE(drive.Files().FolderExists(drive.Drive("岩盤データ")));
  EXPECT_EQ(drive.Files().FileSize(file), 8);

  AppendLines(drive.Files(), file, {u"砂岩"});
  EXPECT_EQ(ReadFileLines(drive.Files(), file), (std::vector<Text>{u"花崗岩", u"砂岩"}));
  // A copy replaces an existing file.
  test::WriteSjis(drive.Host("岩盤データ/写し.TXT"), "古い写し\r\n");
  drive.Files().CopyFile(file, drive.Drive("岩盤データ\\写し.TXT"));
  test::WriteSjis(drive.Host("岩盤データ/新.TMP"), "新\r\n");
  drive.Files().ReplaceFile(drive.Drive("岩盤データ\\新.TMP"), file);
  EXPECT_EQ(ReadFileLines(drive.Files(), file), (std::vector<Text>{u"新"}));
  EXPECT_EQ(ReadFileLines(drive.Files(), drive.Drive("岩盤データ\\写し.TXT")),
            (std::vector<Text>{u"花崗岩", u"砂岩"}));
  TouchFile(drive.Files(), drive.Drive("岩盤データ\\印.txt"));
  EXPECT_TRUE(fs::exists(drive.Host("岩盤データ/印.txt")));
  drive.Files().RemoveFile(drive.Drive("岩盤データ\\印.txt"));
  EXPECT_FALSE(fs::exists(drive.Host("岩盤データ/印.txt")));

  // Back from the host path to the drive form, Japanese names intact.
  EXPECT_EQ(drive.Files().Drives().ToDriveForm(drive.Host("岩盤データ/柱状図.TXT")), file);
}

TEST(HostPathsTest, AMappedLetterStandsForItsFolder) {
  test::TempDrive drive;
  DriveMap map;
  map.Set(u'q', drive.Root());
  std::unique_ptr<Env> host = NewHostEnv(nullptr);
  DriveMapEnv env(*host, map);
  EXPECT_EQ(HostPath(env.ToHost(u"Q:")), drive.Root());
  EXPECT_EQ(HostPath(env.ToHost(u"q:\\")), drive.Root());
  EXPECT_EQ(HostPath(env.ToHost(u"Q:\\A\\B.TXT")), drive.Root() / "A" / "B.TXT");
  EXPECT_EQ(map.ToDriveForm(drive.Root() / "A"), Text(u"Q:\\A"));
  EXPECT_TRUE(DriveReady(env, u'Q'));
}

#ifdef _WIN32
TEST(HostPathsTest, SystemDrivesAreThemselves) {
  DriveMap map = DriveMap::SystemDefaults();
  const std::vector<char16_t> letters = map.Letters();
  ASSERT_NE(std::find(letters.begin(), letters.end(), u'C'), letters.end());
  std::unique_ptr<Env> host = NewHostEnv(nullptr);
  DriveMapEnv env(*host, map);
  EXPECT_EQ(HostPath(env.ToHost(u"C:\\Windows\\System32")), fs::path(L"C:\\Windows\\System32"));
  EXPECT_EQ(map.ToDriveForm(fs::path(L"C:\\Windows")), Text(u"C:\\Windows"));
}
#endif

TEST(HostPathsTest, TheLockIsExclusiveUntilReleased) {
  test::TempDrive drive;
  const Text path = drive.Drive("ロック.LCK");
  std::unique_ptr<HeldLock> first = drive.Files().TryLock(path);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(fs::exists(drive.Host("ロック.LCK")));
  EXPECT_EQ(drive.Files().TryLock(path), nullptr);
  first.reset();
  EXPECT_NE(drive.Files().TryLock(path), nullptr);
  EXPECT_THROW(drive.Files().TryLock(drive.Drive("NOFOLDER\\X.LCK")), FileError);
}

TEST(HostPathsTest, ProgramFolderIsTheFolderOfTheRunningProgram) {
  test::TempDrive drive;
  const Text folder = drive.Files().ProgramFolder();
  ASSERT_FALSE(folder.empty());
  // The test programs are built into a folder named "tests".
  EXPECT_EQ(folder.substr(folder.rfind(u'\\') + 1), u"tests");
  EXPECT_TRUE(drive.Files().FolderExists(folder));
}

// Characters that the JIS tables give a code page 932 form one way only, and the single bytes
// that are no Shift-JIS characters: files must come out the same whatever the system.
TEST(CodecAgreementTest, OneWayCharactersAndStrayBytes) {
  EXPECT_EQ(EncodeCp932(u"\u301C\u2212\u2014\u2016\u00A2\u00A3\u00AC"),
            "\x81\x60\x81\x7C\x81\x5C\x81\x61\x81\x91\x81\x92\x81\xCA");
  EXPECT_EQ(EncodeCp932(u"\u00A5\u203E"), "\x5C\x7E");
  EXPECT_EQ(CharByteWidth(u'\u301C'), 2);
  EXPECT_EQ(CharByteWidth(u'\u00A5'), 1);
  // Their common forms decode to the Microsoft characters.
  EXPECT_EQ(DecodeCp932("\x81\x60\x81\x7C"), u"\uFF5E\uFF0D");
  // U+0080 and the private-use characters some converters give the stray bytes have no form.
  EXPECT_EQ(EncodeCp932(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), "?????");
  EXPECT_EQ(DecodeCp932("\x80\xA0\xFD\xFE\xFF"), u"・・・・・");
  EXPECT_EQ(DecodeCp932("\xB1\x80"), u"ｱ・");
}

}  // namespace
}  // namespace ostra
