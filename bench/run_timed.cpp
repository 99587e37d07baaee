// ostra-timed: runs a command and reports its wall time and peak memory.
//
//   ostra-timed COMMAND [ARG]...
//
// Prints one line on stderr after the command ends:
//   "ostra-timed <wall seconds> <max RSS KiB> <exit> <CPU seconds>"
// (exit is 128 + signal when the command was killed; CPU is user plus system time); the
// command's own output passes through.
// Exits with the command's exit status.
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "Usage: ostra-timed COMMAND [ARG]...\n");
    return 2;
  }
  timespec start{}, end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  const pid_t child = fork();
  if (child < 0) {
    std::perror("ostra-timed: fork");
    return 2;
  }
  if (child == 0) {
    execvp(argv[1], argv + 1);
    std::perror("ostra-timed: exec");
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) < 0) {
    std::perror("ostra-timed: wait4");
    return 2;
  }
  clock_gettime(CLOCK_MONOTONIC, &end);
  const double seconds =
      static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  // ru_maxrss is in KiB on Linux.
  std::fprintf(stderr, "ostra-timed %.4f %ld %d %.4f\n", seconds, usage.ru_maxrss, code, cpu);
  return code;
}
