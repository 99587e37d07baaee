// The program converts the same whether or not the system's code page 932 converter module can
// be loaded: with the module's file made to fail to open (strace injecting ENOENT into its
// openat), the bundled sample gives the same files and reference tables as an ordinary run.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "support/test_support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ostra::test {
namespace {

#ifndef _WIN32
// Runs a program found on PATH with its input from `input` and its output into `output`; its
// exit code, or nullopt when it could not be started or did not exit.
std::optional<int> RunProgram(const std::vector<std::string>& args, const fs::path& input,
                              const fs::path& output) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open(input.c_str(), O_RDONLY);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return std::nullopt;
  if (WEXITSTATUS(status) == 127) return std::nullopt;
  return WEXITSTATUS(status);
}

std::map<std::string, std::string> FilesOf(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.is_regular_file()) files[e.path().filename().string()] = ReadBytes(e.path());
  }
  return files;
}

// A folder with the bundled sample in GEO and a fresh copy of the reference folder in PATDAT.
void PrepareSample(const TempDrive& drive) {
  CopyExamplePatdat(drive.Host("PATDAT"));
  fs::create_directories(drive.Host("GEO"));
  for (const char* kind : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
    const std::string name = std::string(kind) + "0001.GDF";
    fs::copy_file(ExamplesDir() / name, drive.Host("GEO/" + name));
  }
}

std::vector<std::string> ConvertArgs(const TempDrive& drive, const std::string& dest) {
  return {"--drive",
          "T=" + drive.Root().string(),
          "--patdat",
          "T:\\PATDAT",
          "--yes",
          "T:\\GEO\\MDT0001.GDF",
          "T:\\OUT\\P001\\SITE\\" + dest};
}
#endif

TEST(ConverterModulesTest, TheSampleConvertsTheSameWhenTheSystemsCp932ModuleCannotBeLoaded) {
#ifdef _WIN32
  GTEST_SKIP() << "the converter modules are those of the GNU C library";
#else
#ifdef OSTRA_SANITIZED
  GTEST_SKIP() << "runs in the ordinary build: LeakSanitizer does not run under strace";
#endif
  if (!fs::exists(ExamplesDir() / "MDT0001.GDF")) GTEST_SKIP() << "no bundled data set";
  TempDrive work;
  const fs::path empty = work.Host("empty");
  const fs::path log = work.Host("log.txt");
  std::ofstream(empty).close();
  if (RunProgram({"strace", "-V"}, empty, log) != 0) GTEST_SKIP() << "strace is not installed";

  // Which file the system's iconv loads for CP932, as strace sees it.
  const fs::path trace = work.Host("trace.txt");
  const std::optional<int> traced =
      RunProgram({"strace", "-f", "-e", "trace=openat", "-o", trace.string(), "iconv", "-f",
                  "CP932", "-t", "UTF-16LE"},
                 empty, log);
  const std::string opened = ReadBytes(trace);
  std::smatch found;
  if (traced != 0 || !std::regex_search(opened, found, std::regex("\"(/[^\"]*/CP932\\.so)\""))) {
    GTEST_SKIP() << "strace cannot follow the system's iconv, or iconv loads no CP932 module: "
                 << ReadBytes(log);
  }
  const std::string module = found[1];
  const std::vector<std::string> failModule = {
      "strace", "-f",  "-o", "/dev/null", "-e", "trace=openat", "-e", "inject=openat:error=ENOENT",
      "-P",     module};

  // The injection works: the system's own iconv program cannot convert code page 932 under it.
  const fs::path hiragana = work.Host("hiragana.txt");
  WriteBytes(hiragana, "\x82\xA0");
  std::vector<std::string> iconvArgs = failModule;
  for (const char* a : {"iconv", "-f", "CP932", "-t", "UTF-16LE"}) iconvArgs.push_back(a);
  const std::optional<int> blocked = RunProgram(iconvArgs, hiragana, log);
  ASSERT_TRUE(blocked.has_value()) << ReadBytes(log);
  ASSERT_NE(*blocked, 0) << "iconv still converts with " << module << " failing to open";

  // Two conversions each (the second sees the names the first registered): an ordinary run and
  // one with the module failing to open.
  TempDrive ordinary;
  TempDrive blind;
  PrepareSample(ordinary);
  PrepareSample(blind);
  for (const std::string dest : {"B-1", "B-2"}) {
    const CliResult r = RunCli(ConvertArgs(ordinary, dest));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> cli = failModule;
    cli.push_back(OSTRA_CLI_PATH);
    for (const std::string& a : ConvertArgs(blind, dest)) cli.push_back(a);
    ASSERT_EQ(RunProgram(cli, empty, log), 0) << ReadBytes(log);

    const auto files = FilesOf(ordinary.Host("OUT/P001/SITE/" + dest));
    EXPECT_EQ(files.size(), 21u);
    EXPECT_TRUE(files == FilesOf(blind.Host("OUT/P001/SITE/" + dest)))
        << dest << ": outputs differ";
    EXPECT_TRUE(FilesOf(ordinary.Host("PATDAT")) == FilesOf(blind.Host("PATDAT")))
        << dest << ": reference tables differ";
  }
#endif
}

}  // namespace
}  // namespace ostra::test
