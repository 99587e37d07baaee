// Starting ostraconv-cli in the background, for the tests that kill it or run it twice at once,
// and the small data sets those tests convert.
#pragma once

#include <string>
#include <vector>

#include "support/test_support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ostra::test {

#ifndef _WIN32
// In a child process: becomes the program with these arguments.
[[noreturn]] inline void ExecCli(const std::vector<std::string>& args) {
  std::vector<std::string> copy = args;
  std::string cli = OSTRA_CLI_PATH;
  std::vector<char*> argv = {cli.data()};
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  execv(cli.c_str(), argv.data());
  _exit(127);
}

// Starts the program with its output thrown away; returns its process id.
inline pid_t SpawnCli(const std::vector<std::string>& args) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 1);
    dup2(devnull, 2);
    ExecCli(args);
  }
  return pid;
}

// Starts the program with OSTRACONV_LOCK_WAIT set to `lockWait` and its standard error on a
// pipe (`errorPipe`, to read; the rest thrown away); returns its process id.
inline pid_t SpawnCliWithErrors(const std::vector<std::string>& args, const char* lockWait,
                                int& errorPipe) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    const int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 1);
    dup2(fds[1], 2);
    close(fds[0]);
    setenv("OSTRACONV_LOCK_WAIT", lockWait, 1);
    ExecCli(args);
  }
  close(fds[1]);
  errorPipe = fds[0];
  return pid;
}

// Reads from `fd` until `text` has come (true) or the pipe closed (false); `seen` gets all.
inline bool ReadUntil(int fd, const std::string& text, std::string& seen) {
  char buf[4096];
  while (seen.find(text) == std::string::npos) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return false;
    seen.append(buf, static_cast<size_t>(n));
  }
  return true;
}
#endif

// An MDT section with no header items and one layer per name: the name, and `classText` as the
// class of every class table (L13.TXT to L17.TXT).
inline std::vector<std::string> LayerSection(const std::vector<std::string>& names,
                                             const std::vector<std::string>& classTexts) {
  std::vector<std::string> lines = {"0,0," + std::to_string(names.size()) + ",0,11"};
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& c = classTexts[i % classTexts.size()];
    lines.push_back(std::to_string(i + 1) + ".00," + names[i] + ",灰色," + c + "," + c + "," + c +
                    "," + c + "," + c + ",棒状,CM,");
  }
  lines.push_back("0,0,0");
  return lines;
}

}  // namespace ostra::test
