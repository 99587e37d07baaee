// What a script relies on: usage errors in one Japanese line with status 2, one output on
// standard output, the exit statuses, a closed or full standard output, the y/N answers, the
// refused destination's reason and the marker PATADD.txt that could not be made.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/terminal.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ostra::test {
namespace {

// The bundled sample in W:\GEO, the sample reference folder in W:\PATDAT.
class UsageCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyExamplePatdat(drive_.Host("PATDAT"));
    CopyExampleDataSet(drive_.Host("GEO"));
  }

  std::vector<std::string> With(const std::vector<std::string>& rest) const {
    std::vector<std::string> args = {"--drive=W=" + drive_.Root().string(), "--patdat=W:\\PATDAT",
                                     "-y"};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  }

  TempDrive drive_{u'W'};
};

TEST_F(UsageCliTest, EveryUsageErrorIsOneJapaneseLineAndStatus2) {
  struct Bad {
    std::vector<std::string> args;
    std::vector<std::string> env;
    const char* says;  // a part of the line
  };
  const std::string src = "W:\\GEO\\MDT0001.GDF";
  const std::string dst = "W:\\OUT\\P\\S\\B";
  const std::vector<Bad> bad = {
      {{"--bogus", src, dst}, {}, "不明なオプション --bogus"},
      {{"--bach", "list.csv"}, {}, "不明なオプション --bach（--batch のことですか）"},
      {{"--verbos", src, dst}, {}, "（--verbose のことですか）"},
      {{"--bogus=1", src, dst}, {}, "不明なオプション --bogus"},
      {{"-x", src, dst}, {}, "不明なオプション -x"},
      {{"--scale", "abc", "--preview", "p.svg", src}, {}, "--scale の値「abc」"},
      {{"--scale", "0", "--preview", "p.svg", src}, {}, "--scale の値「0」"},
      {{"--scale", "200", src, dst}, {}, "--scale は --preview と一緒に使います"},
      {{"--encoding", "latin1", src, dst}, {}, "--encoding の値「latin1」"},
      {{src, dst, "--patdat"}, {}, "--patdat には値が必要です"},
      {{src, dst, "--report-json"}, {}, "--report-json には値が必要です"},
      {{"--preview", "-", "--report-json", "-", src, dst}, {}, "一緒に使えません"},
      {{"--summary", "-", "--report-json", "-", "--batch", "list.csv"},
       {},
       "--report-json - と --summary - は一緒に使えません"},
      {{"--keep-going", src, dst}, {}, "--keep-going"},
      {{src, dst}, {"OSTRACONV_LOCK_WAIT=abc"}, "OSTRACONV_LOCK_WAIT の値「abc」"},
      {{src, dst}, {"OSTRACONV_LOCK_WAIT=-1"}, "OSTRACONV_LOCK_WAIT の値「-1」"},
      {{src, dst}, {"OSTRACONV_LOCK_WAIT="}, "OSTRACONV_LOCK_WAIT の値「」"},
      {{src, dst, "c"}, {}, "引数が多すぎます"},
      {{"--drive", "XX", src, dst}, {}, "XX"},
      {{"only-one"}, {}, "DEST"},
      {{src, dst}, {"OSTRACONV_DRIVES=garbage"}, "OSTRACONV_DRIVES"},
      {{"--write-gdf", "d"}, {}, "SOURCE"},
      {{"--write-gdf", "d", src, dst, "c"}, {}, "引数が多すぎます"},
      {{"--write-gdf", "d", "--batch", "list"}, {}, "--write-gdf"},
      {{"--write-gdf", "d", "--dry-run", src, dst}, {}, "--write-gdf"},
      {{"--write-gdf", "d", "--preview", "p.svg", src}, {}, "--preview"},
      {{"--write-gdf", "d", "--report-json", "r.json", src}, {}, "--report-json"},
  };
  for (const Bad& b : bad) {
    const CliResult r = RunCli(With(b.args), b.env);
    const std::string line = r.err.substr(0, r.err.find('\n'));
    EXPECT_EQ(r.exitCode, 2) << line;
    EXPECT_EQ(r.err, line + "\n詳しくは --help\n");
    EXPECT_EQ(line.rfind("ostraconv-cli: ", 0), 0u) << line;
    EXPECT_NE(line.find(b.says), std::string::npos) << line;
    // Japanese, and none of the parser's English.
    EXPECT_NE(line.find("\xe3"), std::string::npos) << line;
    for (const char* english : {"Value", "required", "not in range", "Could not", "expected"})
      EXPECT_EQ(line.find(english), std::string::npos) << line;
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_FALSE(fs::exists(drive_.Host("OUT"))) << line;
  }
}

TEST_F(UsageCliTest, ARepeatedOptionTakesItsLastValue) {
  const CliResult r =
      RunCli(With({"--patdat", "W:\\NOWHERE", "--patdat", "W:\\PATDAT", "--encoding", "utf-8",
                   "--encoding", "cp932", "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\P\\S\\B"}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(drive_.Host("OUT/P/S/B/CNT.TXT")));
}

TEST_F(UsageCliTest, VersionAndHelp) {
  const CliResult shortVersion = RunCli({"-V"});
  EXPECT_EQ(shortVersion.exitCode, 0);
  EXPECT_EQ(shortVersion.out, RunCli({"--version"}).out);
  EXPECT_EQ(shortVersion.out.rfind("ostraconv-cli 1.", 0), 0u);
  // The help ends with three examples, each a command that starts with the program's name.
  const std::string help = RunCli({"--help"}).out;
  const size_t examples = help.rfind("\n例:\n");
  ASSERT_NE(examples, std::string::npos);
  int commands = 0;
  for (size_t p = help.find("\n  ostraconv-cli ", examples); p != std::string::npos;
       p = help.find("\n  ostraconv-cli ", p + 1))
    ++commands;
  EXPECT_EQ(commands, 3) << help.substr(examples);
  // The exit statuses a script reads are all there.
  for (const char* status : {"\n  0  ", "\n  1  ", "\n  2  ", "\n  3  ", "\n  4  "})
    EXPECT_NE(help.find(status), std::string::npos) << status;
  for (const char* topic :
       {"使い方", "PATDAT", "CNT.TXT", "OSTRACONV_LOCK_WAIT", "OSTRACONV_DRIVES", "OSTRACONV.LCK",
        "PATADD.txt", "--batch", "--scan", "--quiet", "--write-gdf", "BED0001.XML"})
    EXPECT_NE(help.find(topic), std::string::npos) << topic;
}

TEST_F(UsageCliTest, APictureOnStandardOutputSendsTheReportToStandardError) {
  const CliResult r = RunCli(With({"--preview", "-", "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\P\\S\\B"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // Standard output holds the picture and nothing else.
  EXPECT_EQ(r.out.rfind("<", 0), 0u) << r.out.substr(0, 80);
  EXPECT_NE(r.out.find("<svg"), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.rfind("</svg>")), "</svg>\n");
  EXPECT_EQ(r.out.find("変換が正常に終了しました。"), std::string::npos);
  EXPECT_NE(r.err.find("変換が正常に終了しました。"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("CNT.TXT"), std::string::npos) << r.err;  // the report
}

TEST_F(UsageCliTest, ARefusedDestinationSaysWhichRuleItBroke) {
  const CliResult r = RunCli(With({"W:\\GEO\\MDT0001.GDF", "W:\\OUT\\ABCDEFGHIJ.TXT\\B"}));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("指定されたパスは正しくありません。階層「ABCDEFGHIJ.TXT」のピリオドの前が "
                       "8 文字を超えています。"),
            std::string::npos)
      << r.err;
}

TEST(AnswerTest, YesAndNoInBothLanguages) {
  for (const char* yes :
       {"y", "Y", "yes", "YES", "Yes", "はい", " はい ", "ｙ", "Ｙ", "ｙｅｓ", "y\r", "\u3000はい"})
    EXPECT_TRUE(IsYes(yes)) << yes;
  for (const char* no : {"", "n", "N", "no", "いいえ", "ｎ", "yy", "ye", "はいいえ", "ok", "1"})
    EXPECT_FALSE(IsYes(no)) << no;
}

#ifndef _WIN32
// Runs `program` with the arguments, standard output on `out` (closed here after the start) and
// standard error into a file; the exit status (-signal for a signal) and what came on stderr.
std::pair<int, std::string> RunWithOutput(const std::string& program,
                                          const std::vector<std::string>& args, int out,
                                          const fs::path& errFile) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<std::string> copy = args;
    std::string path = program;
    std::vector<char*> argv = {path.data()};
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(out);
  int status = 0;
  waitpid(pid, &status, 0);
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  return {code, ReadBytes(errFile)};
}

TEST_F(UsageCliTest, AReaderThatEndsEarlyEndsTheOutputQuietly) {
  // The reader is gone before the first byte: every write to standard output fails.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, With({"W:\\GEO\\MDT0001.GDF", "W:\\OUT\\P\\S\\B"})}) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    const auto [code, err] = RunWithOutput(OSTRA_CLI_PATH, args, fds[1], drive_.Host("err.txt"));
    EXPECT_EQ(code, 0) << args[0];
    EXPECT_EQ(err, "") << args[0];
  }
  // The work was done all the same.
  EXPECT_TRUE(fs::exists(drive_.Host("OUT/P/S/B/R41.TXT")));
}

TEST_F(UsageCliTest, AFullStandardOutputIsAnError) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"},
        With({"--report-json", "-", "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\P\\S\\B"})}) {
    const int full = open("/dev/full", O_WRONLY);
    if (full < 0) GTEST_SKIP() << "no /dev/full";
    const auto [code, err] = RunWithOutput(OSTRA_CLI_PATH, args, full, drive_.Host("err.txt"));
    EXPECT_NE(code, 0) << args[0];
    EXPECT_GT(code, 0) << args[0];  // no signal
    EXPECT_NE(err.find("標準出力に書き込めません"), std::string::npos) << err;
  }
}

TEST_F(UsageCliTest, AMarkerThatCannotBeMadeIsReportedNotWarned) {
  // A copy of the program whose PATADD.txt would be a link into nowhere: the marker cannot be
  // made there, whoever runs it.
  const fs::path bin = drive_.Host("BIN");
  fs::create_directories(bin);
  fs::create_symlink(drive_.Host("NOWHERE/PATADD.txt"), bin / "PATADD.txt");
  fs::copy_file(OSTRA_CLI_PATH, bin / "ostraconv-cli");
  fs::permissions(bin / "ostraconv-cli", fs::perms::owner_all);
  const fs::path json = drive_.Host("report.json");
  const std::vector<std::string> args = With(
      {"--verbose", "--report-json", json.string(), "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\P\\S\\B"});
  const int out = open("/dev/null", O_WRONLY);
  const auto [code, err] =
      RunWithOutput((bin / "ostraconv-cli").string(), args, out, drive_.Host("err.txt"));
  ASSERT_EQ(code, 0) << err;
  const nlohmann::json report = nlohmann::json::parse(ReadBytes(json));
  ASSERT_TRUE(report.contains("markerNotWritten")) << report.dump(2);
  EXPECT_EQ(report["markerNotWritten"]["drive"], "W:\\BIN\\PATADD.txt");
  EXPECT_TRUE(report["warnings"].empty()) << report["warnings"].dump();
  // --verbose says where it would have gone, and which reference folder the run used.
  EXPECT_NE(err.find("W:\\BIN\\PATADD.txt"), std::string::npos) << err;
  EXPECT_NE(err.find("参照フォルダ: W:\\PATDAT"), std::string::npos) << err;
  // Without --verbose: not a word, though the report says it again (a new reference folder
  // whose dictionary gains the same names).
  fs::remove_all(drive_.Host("OUT"));
  CopyExamplePatdat(drive_.Host("PATDAT2"));
  const fs::path json2 = drive_.Host("report2.json");
  const auto [code2, err2] =
      RunWithOutput((bin / "ostraconv-cli").string(),
                    With({"--patdat", "W:\\PATDAT2", "--report-json", json2.string(),
                          "W:\\GEO\\MDT0001.GDF", "W:\\OUT\\P\\S\\B"}),
                    open("/dev/null", O_WRONLY), drive_.Host("err.txt"));
  EXPECT_EQ(code2, 0) << err2;
  EXPECT_EQ(err2.find("PATADD"), std::string::npos) << err2;
  EXPECT_TRUE(nlohmann::json::parse(ReadBytes(json2)).contains("markerNotWritten"));
}
#endif

}  // namespace
}  // namespace ostra::test
