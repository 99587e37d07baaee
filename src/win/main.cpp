// ostraconv.exe: the converter's window on Windows.
//
// "ostraconv --help" and "ostraconv --version" (-V) show their text and end without opening the
// window: in the console of the program that started this one (cmd), in the file or pipe the
// output goes to, or else (a shortcut, Explorer) in a message box.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/windows_api.h"
// After windows.h.
#include <shellapi.h>

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

constexpr const char* kHelp =
    "使い方: ostraconv [オプション]\n"
    "\n"
    "岩盤柱状図のデータ（MDT0001.GDF などの 6 つのファイル、またはボーリング交換用データの\n"
    "XML ファイル）を Ostra が取り込むファイルに変換するウィンドウを開きます。\n"
    "コマンドラインで変換するときは ostraconv-cli.exe を使います（ostraconv-cli --help）。\n"
    "\n"
    "オプション:\n"
    "  -V, --version  版とビルドしたコミットを表示します\n"
    "  -h, --help     この説明を表示します\n"
    "\n"
    "環境変数:\n"
    "  OSTRACONV_DRIVES     ドライブの割り当て（L=DIR を ; で区切ります）\n"
    "  OSTRACONV_LOCK_WAIT  他の変換を待つ最長の秒数（既定 120）\n";

std::wstring Wide(const std::string& text) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

// Shows TEXT (lines ending in "\n") where the one who asked sees it; false when it could not be
// written.
bool Show(const std::string& text) {
  const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && attached)
    out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
  std::wstring wide = Wide(text);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    return MessageBoxW(nullptr, wide.c_str(), L"ostraconv", MB_OK | MB_ICONINFORMATION) != 0;
  }
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(out, &mode)) {
    return WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != 0;
  }
  // A file or a pipe: the console's code page as the command line writes it, CR LF line ends.
  std::wstring lines;
  for (const wchar_t c : wide) {
    if (c == L'\n') lines += L'\r';
    lines += c;
  }
  const UINT page = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetACP();
  const int n = WideCharToMultiByte(page, 0, lines.data(), static_cast<int>(lines.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(page, 0, lines.data(), static_cast<int>(lines.size()), bytes.data(), n,
                      nullptr, nullptr);
  return WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
         written == bytes.size();
}

// Shows the help or the version when the command line asks for one; the status to end with, or
// -1 to open the window.
int ShowAndEnd() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr) return -1;
  int status = -1;
  for (int i = 1; i < argc && status < 0; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"-h" || arg == L"--help") {
      status = Show(kHelp) ? 0 : 1;
    } else if (arg == L"-V" || arg == L"--version") {
      status =
          Show(std::string("ostraconv ") + OSTRA_VERSION + " (" + OSTRA_COMMIT + ")\n") ? 0 : 1;
    }
  }
  LocalFree(argv);
  return status;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  if (const int status = ShowAndEnd(); status >= 0) return status;
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
