#include "support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/drives.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ostra::test {

namespace {

fs::path MakeTempFolder() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = base / ("ostra-test-" + std::to_string(rd()) + "-" + std::to_string(++counter));
    std::error_code ec;
    if (fs::create_directory(p, ec)) return p;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

std::string ToRelativeHost(const std::string& rel) {
  std::string out = rel;
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

}  // namespace

TempDrive::TempDrive(char16_t letter) : root_(MakeTempFolder()), letter_(letter) {
  DriveMap::Instance().Set(letter_, root_);
}

TempDrive::~TempDrive() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

Text TempDrive::Drive(const std::string& relativeUtf8) const {
  Text out;
  out.push_back(letter_);
  out += u":";
  if (relativeUtf8.empty()) return out;
  std::string rel = relativeUtf8;
  for (char& c : rel) {
    if (c == '/') c = '\\';
  }
  if (rel.front() != '\\') out += u"\\";
  out += FromUtf8(rel);
  return out;
}

fs::path TempDrive::Host(const std::string& relativeUtf8) const {
  return root_ / fs::path(ToRelativeHost(relativeUtf8));
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteSjis(const fs::path& file, const std::string& utf8) {
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  std::string bytes = EncodeCp932(FromUtf8(utf8));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteSjisLines(const fs::path& file, const std::vector<std::string>& linesUtf8) {
  std::string all;
  for (const std::string& l : linesUtf8) all += l + "\r\n";
  WriteSjis(file, all);
}

std::string ReadSjis(const fs::path& file) { return ToUtf8(DecodeCp932(ReadBytes(file))); }

std::vector<std::string> ReadSjisLines(const fs::path& file) {
  std::string text = ReadSjis(file);
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (line.find_first_of("\r\n") != std::string::npos) {
      ADD_FAILURE() << "bare line end in " << file << ": " << line;
    }
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line of " << file << " lacks CR LF: " << line;
      lines.push_back(line);
      break;
    }
    lines.push_back(line);
    pos = end + 2;
  }
  return lines;
}

fs::path ExamplesDir() { return fs::path(OSTRA_SOURCE_DIR) / "examples"; }

void CopyExamplePatdat(const fs::path& to) {
  fs::create_directories(to);
  fs::copy(ExamplesDir() / "PATDAT", to,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

CliResult RunCli(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  CliResult result;
#ifdef _WIN32
  (void)args;
  (void)env;
  ADD_FAILURE() << "RunCli is not available on this platform";
#else
  fs::path outFile = MakeTempFolder();
  fs::path so = outFile / "stdout";
  fs::path se = outFile / "stderr";
  pid_t pid = fork();
  if (pid == 0) {
    std::vector<std::string> envCopy = env;
    for (const std::string& e : envCopy) {
      size_t eq = e.find('=');
      if (eq != std::string::npos) setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
    if (!freopen(so.c_str(), "wb", stdout) || !freopen(se.c_str(), "wb", stderr)) _exit(127);
    if (!freopen("/dev/null", "rb", stdin)) _exit(127);
    std::vector<char*> argv;
    std::string cli = OSTRA_CLI_PATH;
    argv.push_back(cli.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(cli.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadBytes(so);
  result.err = ReadBytes(se);
  std::error_code ec;
  fs::remove_all(outFile, ec);
#endif
  return result;
}

}  // namespace ostra::test
