// ostra-access: converts a data set in this process through counting Envs and prints what
// reached the system's files: the Env operations by kind, the files read or written and the
// lookups (queries, listings and opens) per file. With --slow-ms N every metadata operation and
// every open waits N ms (as on a file server) and the wall time of the conversion is printed.
//
//   ostra-access DIR [--slow-ms N] [--no-memory]
//
// DIR holds GEO\MDT0001.GDF ... and PATDAT\ (as ostra-gen writes them); the conversion goes to a
// fresh folder beside them (DIR/ACCESS-n) with a fresh copy of PATDAT.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "env/counting_env.h"
#include "env/drive_map_env.h"
#include "env/host_env.h"
#include "run/convert.h"
#include "slow_env.h"

namespace {

namespace fs = std::filesystem;
using namespace ostra;

// Says nothing, answers every question with yes.
class QuietObserver : public RunObserver {
 public:
  void Status(const Text&) override {}
  bool Ask(const Text&) override { return true; }
  void Warn(const Text&) override {}
};

// The program's folder is the work folder: PATADD.txt goes there.
class ProgramIn : public EnvWrapper {
 public:
  ProgramIn(Env& target, Text folder) : EnvWrapper(target), folder_(std::move(folder)) {}
  Text ProgramFolder() override { return folder_; }

 private:
  Text folder_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ostra-access DIR [--slow-ms N] [--no-memory]\n");
    return 2;
  }
  const fs::path root = fs::absolute(argv[1]);
  long slowMs = 0;
  bool memory = true;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--slow-ms" && i + 1 < argc) {
      slowMs = std::strtol(argv[++i], nullptr, 10);
    } else if (a == "--no-memory") {
      memory = false;
    } else {
      std::fprintf(stderr, "ostra-access: unknown argument %s\n", a.c_str());
      return 2;
    }
  }
  int n = 1;
  while (fs::exists(root / ("ACCESS-" + std::to_string(n)))) ++n;
  const fs::path work = root / ("ACCESS-" + std::to_string(n));
  fs::create_directories(work / "OUT");
  fs::copy(root / "PATDAT", work / "PATDAT", fs::copy_options::recursive);

  std::unique_ptr<Env> host = NewHostEnv(argv[0]);
  ProgramIn program(*host, HostText(work));
  bench::SlowEnv slow(program, std::chrono::milliseconds(slowMs));
  CountingEnv counting(slow);
  DriveMap drives;
  drives.Set(u'W', root);
  DriveMapEnv env(counting, drives);
  QuietObserver observer;
  const Text base = u"W:\\ACCESS-" + FromUtf8(std::to_string(n));
  ConversionRequest request;
  request.source = u"W:\\GEO\\MDT0001.GDF";
  request.destination = base + u"\\OUT\\B-1";
  request.referenceFolder = base + u"\\PATDAT\\";
  const auto t0 = std::chrono::steady_clock::now();
  RunReport report;
  {
    std::optional<DriveMapEnv::RunScope> scope;
    if (memory) scope.emplace(env);
    report = Convert(request, env, observer);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (!report.completed) {
    const Text why = report.error ? report.error->message : Text();
    std::fprintf(stderr, "ostra-access: the conversion stopped: %s\n", ToUtf8(why).c_str());
    return 1;
  }
  const size_t files = counting.FilesTouched().size();
  std::printf("env-lookups %ld files %zu per-file %.2f\n", counting.Lookups(), files,
              files ? static_cast<double>(counting.Lookups()) / static_cast<double>(files) : 0.0);
  std::printf("env-calls");
  for (const auto& [op, count] : counting.Calls()) std::printf(" %s=%ld", op.c_str(), count);
  std::printf("\n");
  if (slowMs > 0)
    std::printf("slow-env %ld ms: %ld waits, %.3f s\n", slowMs, slow.Waits(), seconds);
  return 0;
}
