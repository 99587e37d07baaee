#include "cli/cli.h"

#include <csignal>
#include <cstdlib>

#include "cli/options.h"
#include "cli/paths.h"
#include "cli/session.h"
#include "cli/terminal.h"
#include "env/host_env.h"
#include "env/interrupt_env.h"
#include "env/interrupt_signals.h"
#include "formats/run_note.h"

namespace ostra {

namespace {

// The text of an environment variable as UTF-8; empty when it is not set.
std::string EnvironmentText(const char* name) {
#ifdef _WIN32
  const std::string n(name);
  if (const wchar_t* value = _wgetenv(std::wstring(n.begin(), n.end()).c_str())) {
    const std::wstring w(value);
    return ToUtf8(Text(w.begin(), w.end()));
  }
  return std::string();
#else
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
#endif
}

}  // namespace

namespace {

int Convert(int argc, char** argv);

}  // namespace

// A run ended by a signal stops as any stopped run does (with its report) and exits with the
// signal's status (130 for Ctrl-C, 143 for SIGTERM).
// A reader of standard output that ends early (| head) ends no run: the writes fail and the
// output stops quietly (see WriteStream), and the run's status is the program's.
int CliMain(int argc, char** argv) {
  InstallInterruptHandlers();
#ifndef _WIN32
  std::signal(SIGPIPE, SIG_IGN);
#endif
  int status = Convert(argc, argv);
  const int interrupted = InterruptExitStatus();
  if (interrupted != 0) return interrupted;
  // Output that could not be written is an error even when the work was done.
  if (status == 0 && StandardOutputFailed()) status = 1;
  return status;
}

namespace {

int Convert(int argc, char** argv) {
  const Terminal early(AsksForUtf8(argc, argv), false);
  const ParsedCommandLine parsed = ParseCommandLine(argc, argv, early);
  if (!parsed.options) return parsed.exitCode;
  const CliOptions& options = *parsed.options;

  // The drive letters of the system, of OSTRACONV_DRIVES and of --drive, in that order.
  DriveMap drives = DriveMap::SystemDefaults();
  const std::string spec = EnvironmentText("OSTRACONV_DRIVES");
  if (!spec.empty() && !drives.AddSpec(spec)) {
    return UsageError(early, "環境変数 OSTRACONV_DRIVES の割り当て「" + spec +
                                 "」が正しくありません（例: C=/home/me/geo;D=/mnt/usb）");
  }
  for (const std::string& d : options.drives) {
    if (!drives.AddSpec(d))
      return UsageError(early, "ドライブの割り当て「" + d + "」が正しくありません（L=DIR の形）");
  }

  auto interruptible =
      std::make_unique<InterruptEnv>(NewHostEnv(argc > 0 ? argv[0] : nullptr), InterruptFlag());
  // An interrupted run still leaves the note that its destination holds unfinished outputs.
  interruptible->AllowAfterStop({kRunNoteFileName, kRunNoteTemporaryName});
  Session session(options, std::move(interruptible), drives);
  const std::string wait = EnvironmentText("OSTRACONV_LOCK_WAIT");
  // Set, it is a whole number of seconds: anything else would silently wait the default.
  if (std::getenv("OSTRACONV_LOCK_WAIT") != nullptr &&
      (wait.empty() || wait.size() > 9 ||
       wait.find_first_not_of("0123456789") != std::string::npos)) {
    return UsageError(early, "環境変数 OSTRACONV_LOCK_WAIT の値「" + wait +
                                 "」が正しくありません（待つ秒数を 0 以上の整数で。例: 30）");
  }
  session.Settings().lockWait = LockWaitSetting(wait.empty() ? nullptr : wait.c_str());
  if (IsBatch(options)) return RunBatch(session);
  for (const std::string& path : options.paths) {
    if (const std::string problem = PathArgumentProblem(path); !problem.empty())
      return UsageError(early, problem);
  }
  // --write-gdf without DEST only writes the data set: no reference folder is needed.
  const bool writeGdf = !options.writeGdf.empty();
  if (writeGdf && options.paths.size() == 1) return session.WriteDataSet(options.paths[0], true);
  // --preview without DEST draws the data set without converting it.
  if (!writeGdf && options.paths.size() == 1) return session.DrawDataSet(options.paths[0]);
  if (!session.FindReferenceFolder()) return session.ExitStatus(1);
  if (const int code = session.CheckReportFile({options.paths[0]}); code != 0) return code;
  if (writeGdf) {
    if (const int code = session.WriteDataSet(options.paths[0], false); code != 0) return code;
  }
  return session.Convert(options.paths[0], options.paths[1]);
}

}  // namespace

}  // namespace ostra
