#include "env/files.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "env/drive_map_env.h"
#include "env/drives.h"
#include "env/host_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

namespace fs = std::filesystem;

TEST(DriveMapTest, SpecsRootsAndDriveForms) {
  DriveMap map;
  EXPECT_TRUE(map.AddSpec("C=/home/me/geo;d:=/mnt/usb;;"));
  EXPECT_FALSE(map.AddSpec("CC=/x"));
  EXPECT_FALSE(map.AddSpec("E"));
  EXPECT_EQ(map.Root(u'c'), fs::path("/home/me/geo"));
  EXPECT_EQ(map.Root(u'D'), fs::path("/mnt/usb"));
  EXPECT_FALSE(map.Root(u'E').has_value());
  map.Set(u'Z', "/");
  EXPECT_EQ(map.Letters(), (std::vector<char16_t>{u'C', u'D', u'Z'}));
  // The longest mapped prefix wins.
  EXPECT_EQ(map.ToDriveForm("/home/me/geo/P1/B-1"), Text(u"C:\\P1\\B-1"));
  EXPECT_EQ(map.ToDriveForm("/home/other"), Text(u"Z:\\home\\other"));
  EXPECT_EQ(map.ToDriveForm("/mnt/usb"), Text(u"D:\\"));
  std::unique_ptr<Env> host = NewHostEnv(nullptr);
  DriveMapEnv env(*host, map);
  EXPECT_EQ(HostPath(env.ToHost(u"C:\\P1\\B-1")), fs::path("/home/me/geo/P1/B-1"));
  EXPECT_THROW(env.ToHost(u"Q:\\X"), FileError);
  EXPECT_THROW(env.ToHost(u"relative"), FileError);
  EXPECT_EQ(DriveLetterOf(u"d:\\x"), u'D');
  EXPECT_EQ(DriveLetterOf(u"\\\\server"), 0);
}

TEST(DriveMapTest, ExistingNamesAreFoundWhateverTheirLetterCase) {
  test::TempDrive drive;
  fs::create_directories(drive.Host("PatDat/Sub"));
  test::WriteSjis(drive.Host("PatDat/kishitu.txt"), "x");
  EXPECT_TRUE(drive.Files().FileExists(drive.Drive("PATDAT\\KISHITU.TXT")));
  EXPECT_EQ(drive.Files().FileSize(drive.Drive("patdat\\Kishitu.Txt")), 1);
  EXPECT_TRUE(drive.Files().FolderExists(drive.Drive("PATDAT\\SUB")));
  // A new file under an existing folder keeps the folder's spelling and its own.
  AppendLines(drive.Files(), drive.Drive("PATDAT\\SUB\\NEW.TXT"), {u"a"});
  EXPECT_TRUE(fs::exists(drive.Host("PatDat/Sub/NEW.TXT")));
  EXPECT_TRUE(DriveReady(drive.Files(), drive.Letter()));
  EXPECT_FALSE(DriveReady(drive.Files(), u'Q'));
}

TEST(FilesTest, OutFileWritesCodePage932WithCrLf) {
  test::TempDrive drive;
  {
    OutFile out(drive.Files(), drive.Drive("A.TXT"));
    out.Write(u"岩盤");
    out.Line(u",1");
    out.Line();
    out.Close();
  }
  EXPECT_EQ(test::ReadBytes(drive.Host("A.TXT")), "\x8a\xe2\x94\xd5,1\r\n\r\n");
  {
    OutFile out(drive.Files(), drive.Drive("A.TXT"), OutFile::Mode::kAppend);
    out.Line(u"x");
  }  // the destructor writes what is left
  EXPECT_EQ(test::ReadSjisLines(drive.Host("A.TXT")),
            (std::vector<std::string>{"岩盤,1", "", "x"}));
  // Creating truncates.
  OutFile(drive.Files(), drive.Drive("A.TXT")).Close();
  EXPECT_EQ(drive.Files().FileSize(drive.Drive("A.TXT")), 0);
}

TEST(FilesTest, FailuresAreFileErrorsNamingTheFile) {
  test::TempDrive drive;
  fs::create_directories(drive.Host("DIR"));
  try {
    OutFile out(drive.Files(), drive.Drive("NOFOLDER\\A.TXT"));
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(e.Path().find(u"NOFOLDER\\A.TXT"), Text::npos);
  }
  EXPECT_THROW(OutFile(drive.Files(), drive.Drive("DIR")), FileError);
  EXPECT_THROW(drive.Files().ReadFile(drive.Drive("DIR")), FileError);
  try {
    ReadFileText(drive.Files(), drive.Drive("NONE.TXT"));
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Code(), FileError::kFileNotFound);
  }
  EXPECT_EQ(drive.Files().FileSize(drive.Drive("NONE.TXT")), -1);
  EXPECT_EQ(drive.Files().FileSize(drive.Drive("DIR")), -1);
}

TEST(FilesTest, LinesReplaceCopyTouchAndDelete) {
  test::TempDrive drive;
  test::WriteSjis(drive.Host("L.TXT"), "a\r\nb\nc\rd\r\n\x1A");
  EXPECT_EQ(ReadFileLines(drive.Files(), drive.Drive("L.TXT")),
            (std::vector<Text>{u"a", u"b", u"c", u"d"}));
  test::WriteSjis(drive.Host("E.TXT"), "a\r\n\r\n");
  EXPECT_EQ(ReadFileLines(drive.Files(), drive.Drive("E.TXT")), (std::vector<Text>{u"a", u""}));

  test::WriteSjis(drive.Host("NEW.TMP"), "new\r\n");
  test::WriteSjis(drive.Host("OLD.TXT"), "old\r\n");
  drive.Files().ReplaceFile(drive.Drive("NEW.TMP"), drive.Drive("OLD.TXT"));
  EXPECT_EQ(test::ReadSjis(drive.Host("OLD.TXT")), "new\r\n");
  EXPECT_FALSE(fs::exists(drive.Host("NEW.TMP")));

  drive.Files().CopyFile(drive.Drive("OLD.TXT"), drive.Drive("COPY.TXT"));
  EXPECT_EQ(test::ReadSjis(drive.Host("COPY.TXT")), "new\r\n");
  TouchFile(drive.Files(), drive.Drive("COPY.TXT"));  // leaves an existing file alone
  EXPECT_EQ(drive.Files().FileSize(drive.Drive("COPY.TXT")), 5);
  TouchFile(drive.Files(), drive.Drive("EMPTY.TXT"));
  EXPECT_EQ(drive.Files().FileSize(drive.Drive("EMPTY.TXT")), 0);
  drive.Files().RemoveFile(drive.Drive("EMPTY.TXT"));
  EXPECT_FALSE(drive.Files().FileExists(drive.Drive("EMPTY.TXT")));

  AppendLines(drive.Files(), drive.Drive("COPY.TXT"), {u"砂岩", u""});
  EXPECT_EQ(test::ReadSjisLines(drive.Host("COPY.TXT")),
            (std::vector<std::string>{"new", "砂岩", ""}));
  drive.Files().MakeFolder(drive.Drive("F"));
  EXPECT_TRUE(drive.Files().FolderExists(drive.Drive("F")));
}

TEST(FilesTest, ProgramFolderIsADriveFormPath) {
  test::TempDrive drive;
  Text folder = drive.Files().ProgramFolder();
  ASSERT_GE(folder.size(), 2u);
  EXPECT_EQ(folder[1], u':');
  EXPECT_TRUE(drive.Files().FolderExists(folder));
}

}  // namespace
}  // namespace ostra
