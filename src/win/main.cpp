// ostraconv.exe: the converter's window on Windows.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/windows_api.h"
#include "env/drive_map_env.h"
#include "env/host_env.h"
#include "env/interrupt_env.h"
#include "env/interrupt_signals.h"
#include "formats/run_note.h"
#include "run/run.h"
#include "win/form1_window.h"

namespace {

// The text of an environment variable as UTF-8; empty when it is not set.
std::string EnvironmentText(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  if (value == nullptr) return std::string();
  const std::wstring w(value);
  return ostra::ToUtf8(ostra::Text(w.begin(), w.end()));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // The system's drives and those of OSTRACONV_DRIVES.
  std::unique_ptr<ostra::Env> host = ostra::NewHostEnv(nullptr);
  ostra::DriveMap drives = ostra::DriveMap::SystemDefaults();
  const std::string spec = EnvironmentText(L"OSTRACONV_DRIVES");
  if (!spec.empty()) drives.AddSpec(spec);
  ostra::InstallInterruptHandlers();
  ostra::InterruptEnv interruptible(*host, ostra::InterruptFlag());
  // An interrupted run still leaves the note that its destination holds unfinished outputs.
  interruptible.AllowAfterStop({ostra::kRunNoteFileName, ostra::kRunNoteTemporaryName});
  ostra::DriveMapEnv env(interruptible, drives);

  std::error_code error;
  const std::filesystem::path working = std::filesystem::current_path(error);
  ostra::win::Form1Window form(instance, env, working);
  const std::string wait = EnvironmentText(L"OSTRACONV_LOCK_WAIT");
  form.Presenter().State().lockWait = ostra::LockWaitSetting(wait.empty() ? nullptr : wait.c_str());
  if (!form.Open(show)) return ostra::InterruptExitStatus();
  const int status = form.Run();
  const int interrupted = ostra::InterruptExitStatus();
  return interrupted != 0 ? interrupted : status;
}
