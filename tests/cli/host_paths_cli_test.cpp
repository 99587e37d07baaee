// The command-line program on folders with Japanese names: the arguments reach the run intact
// and the outputs do not depend on how the folders are named.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "env/drives.h"
#include "env/host_env.h"
#include "support/test_support.h"

namespace ostra::test {
namespace {

// A host path as a UTF-8 argument.
std::string Arg(const fs::path& p) {
  return ToUtf8(HostText(p));
}

// Every file of a folder and its bytes.
std::map<std::string, std::string> FilesOf(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.is_regular_file()) files[ToUtf8(HostText(e.path().filename()))] = ReadBytes(e.path());
  }
  return files;
}

// Converts the bundled sample kept in T:\<base> into T:\<base>\P001\SITE\B-1 (the drive is
// component 1, so CNT.TXT names P001, SITE and B-1), with a fresh copy of the reference folder
// in T:\<base>\<ref>. The arguments are in drive form; the drive is the test's folder.
struct SampleRun {
  CliResult result;
  fs::path dest;
  fs::path patdat;
};
SampleRun ConvertSample(const TempDrive& drive, const std::string& base, const std::string& ref) {
  SampleRun run;
  run.patdat = drive.Host(base + "/" + ref + "/PATDAT");
  CopyExamplePatdat(run.patdat);
  fs::create_directories(drive.Host(base + "/GEO"));
  for (const char* kind : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
    const std::string name = std::string(kind) + "0001.GDF";
    fs::copy_file(ExamplesDir() / name, drive.Host(base + "/GEO/" + name));
  }
  run.dest = drive.Host(base + "/P001/SITE/B-1");
  run.result = RunCli({"--drive", "T=" + Arg(drive.Root()), "--patdat",
                       ToUtf8(drive.Drive(base + "\\" + ref + "\\PATDAT")), "--yes",
                       ToUtf8(drive.Drive(base + "\\GEO\\MDT0001.GDF")),
                       ToUtf8(drive.Drive(base + "\\P001\\SITE\\B-1"))});
  return run;
}

TEST(HostPathsCliTest, JapaneseFolderNamesGiveTheSameFilesAsPlainOnes) {
  if (!fs::exists(ExamplesDir() / "MDT0001.GDF")) GTEST_SKIP() << "no bundled data set";
  TempDrive drive;
  const SampleRun plain = ConvertSample(drive, "DATA", "REF");
  ASSERT_EQ(plain.result.exitCode, 0) << plain.result.err;
  const SampleRun japanese = ConvertSample(drive, "岩盤調査", "参照");
  ASSERT_EQ(japanese.result.exitCode, 0) << japanese.result.err;

  const auto plainFiles = FilesOf(plain.dest);
  EXPECT_EQ(plainFiles.size(), 21u);
  EXPECT_TRUE(plainFiles == FilesOf(japanese.dest)) << "outputs differ";
  EXPECT_TRUE(FilesOf(plain.patdat) == FilesOf(japanese.patdat)) << "reference tables differ";
  const std::vector<std::string> cnt = ReadSjisLines(japanese.dest / "CNT.TXT");
  ASSERT_GE(cnt.size(), 3u);
  EXPECT_EQ(cnt[0], "P001");
  EXPECT_EQ(cnt[2], "B-1");
}

TEST(HostPathsCliTest, AMissingJapaneseReferenceFolderIsNamed) {
  TempDrive drive;
  WriteSjisLines(drive.Host("GEO/MDT0001.GDF"), {"0,0,0,0,0", "0,0,0"});
  const CliResult r = RunCli({"--drive", "T=" + Arg(drive.Root()), "--patdat", "T:\\無い参照",
                              "--yes", "T:\\GEO\\MDT0001.GDF", "T:\\出力"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("T:\\無い参照"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(drive.Host("出力")));
}

}  // namespace
}  // namespace ostra::test
