#include "cli/cli.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/numbers.h"
#include "base/sjis.h"
#include "env/drive_map_env.h"
#include "env/host_env.h"
#include "preview/boring_log_svg.h"
#include "run/dry_run.h"
#include "run/patdat.h"
#include "run/run.h"
#include "run/ui_port.h"

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <unistd.h>
#endif

namespace ostra {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "Usage: ostraconv-cli [--patdat DIR] [--drive L=DIR]... [--yes] [--dry-run]\n"
    "                     [--report-json FILE] [--preview FILE.svg] SOURCE DEST\n"
    "\n"
    "Converts the boring-log data set SOURCE (an MDT*.GDF file, with its BDT/KDT/NDT/LDT/CDT\n"
    "siblings beside it) into the Ostra files in the folder DEST.\n"
    "\n"
    "SOURCE, DEST and DIR are host paths or drive-form paths (D:\\WORK\\B-1).\n"
    "\n"
    "Options:\n"
    "  --patdat DIR    the reference folder PATDAT (default: found beside the program,\n"
    "                  then as \\PATDAT on every drive)\n"
    "  --drive L=DIR   map drive letter L to the host folder DIR (may be repeated; also\n"
    "                  OSTRACONV_DRIVES=\"C=/dir;D=/other\"; on Linux Z: is /)\n"
    "  --yes           answer Yes when asked to create a missing destination folder\n"
    "  --dry-run       convert keeping every file written in memory and print what\n"
    "                  would be written and registered; no real file changes\n"
    "  --report-json FILE  also write the run's report (files written, sections,\n"
    "                  lines added to the reference tables) to FILE as JSON\n"
    "  --preview FILE.svg  after the conversion, draw the converted boring log\n"
    "                  (layers, classes, N values, tests, remarks) as an SVG picture\n"
    "                  at the depth scale 1:100 (one long page)\n"
    "  --scale N       draw the picture at 1:N instead (50, 200, 500 ...)\n"
    "  --help          show this text\n"
    "\n"
    "Exit status: 0 converted, 1 the conversion stopped (the reason is on stderr),\n"
    "2 usage error.\n";

// Text for the terminal: UTF-8, with the message boxes' CR as a line end.
std::string ForTerminal(const Text& text) {
  Text t;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      t.push_back(u'\n');
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      t.push_back(text[i]);
    }
  }
  return ToUtf8(t);
}

// Writes UTF-8 text to a standard stream; a Windows console gets it as UTF-16, so that Japanese
// shows whatever the console's code page.
void WriteTo(std::FILE* stream, const std::string& utf8) {
#ifdef _WIN32
  HANDLE h = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode;
  if (h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode)) {
    std::fflush(stream);
    Text t = FromUtf8(utf8);
    std::wstring w(t.begin(), t.end());
    DWORD written;
    WriteConsoleW(h, w.data(), static_cast<DWORD>(w.size()), &written, nullptr);
    return;
  }
#endif
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

void PrintTo(std::FILE* stream, const Text& text) {
  WriteTo(stream, ForTerminal(text) + "\n");
}

// Whether questions can be asked: standard input is a terminal.
bool InputIsTerminal() {
#ifdef _WIN32
  // _isatty() also holds for NUL and other character devices; only a console can answer.
  DWORD mode;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
  return isatty(fileno(stdin)) != 0;
#endif
}

class TerminalUi : public UiPort {
 public:
  TerminalUi(bool yes, std::chrono::milliseconds lockWait) : yes_(yes), lockWait_(lockWait) {}
  // The window's status line: only a wait for another run is worth a line on the terminal.
  void SetStatus(const Text& text) override {
    if (text.empty() || text == kMsgConverting || text == kMsgCompleted) return;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(lockWait_).count();
    PrintTo(stderr, text + u"（最長 " + IntText(seconds) + u" 秒）");
  }
  void ProcessEvents() override {}
  void ShowMessage(const Text& text, MsgIcon, const Text&) override { PrintTo(stderr, text); }
  bool AskYesNo(const Text& text, const Text&) override {
    if (yes_) return true;
    if (!InputIsTerminal()) {
      PrintTo(stderr, text + u" -> いいえ（--yes で「はい」と答えます）");
      return false;
    }
    WriteTo(stderr, ForTerminal(text) + " [y/N] ");
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "YES";
  }
  void SetBusy(bool) override {}
  void SelectDestination() override {}
  void Warn(const Text& text) override { PrintTo(stderr, text); }

 private:
  bool yes_;
  std::chrono::milliseconds lockWait_;
};

// Writes a file named on the command line; false (with a message) when it cannot.
bool WriteHostFile(const std::string& file, const std::string& bytes) {
#ifdef _WIN32
  Text w = FromUtf8(file);
  std::FILE* f = _wfopen(std::wstring(w.begin(), w.end()).c_str(), L"wb");
#else
  std::FILE* f = std::fopen(file.c_str(), "wb");
#endif
  bool ok = f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f != nullptr) ok = std::fclose(f) == 0 && ok;
  if (!ok) PrintTo(stderr, u"ファイル \"" + FromUtf8(file) + u"\" を書き込めません。");
  return ok;
}

int UsageError(const std::string& what) {
  std::cerr << "ostraconv-cli: " << what << "\n\n" << kUsage;
  return 2;
}

// "D:\WORK", "D:WORK" and "D:" are drive forms, also with blanks around them (the run's path
// check trims them); anything else is a host path.
bool LooksDriveForm(const std::string& arg) {
  size_t i = arg.find_first_not_of(' ');
  return i != std::string::npos && i + 1 < arg.size() &&
         std::isalpha(static_cast<unsigned char>(arg[i])) && arg[i + 1] == ':';
}

// A command-line path in drive form: drive-form texts stand as they are, host paths go through
// the drive map.
std::optional<Text> DriveFormOf(const DriveMap& drives, const std::string& arg) {
#ifdef _WIN32
  // Windows takes "/" as a separator too ("C:/work/B-1"); the run's paths use "\" only.
  Text w = FromUtf8(arg);
  std::replace(w.begin(), w.end(), u'/', u'\\');
  if (LooksDriveForm(arg)) return w;
  return drives.ToDriveForm(fs::path(std::wstring(w.begin(), w.end())));
#else
  if (LooksDriveForm(arg)) return FromUtf8(arg);
  return drives.ToDriveForm(fs::path(arg));
#endif
}

// Whether the file name of a path starts with "MDT", in any letter case (or is missing).
bool IsMdtFileName(const Text& path) {
  const size_t slash = path.find_last_of(u"\\:");
  const Text name = Trim(slash == Text::npos ? path : path.substr(slash + 1));
  if (name.empty()) return true;  // no file named: the run says that none is chosen
  return UpperAscii(name).rfind(u"MDT", 0) == 0;
}

// The drive letters of the system and of OSTRACONV_DRIVES.
DriveMap DrivesOfEnvironment() {
  DriveMap drives = DriveMap::SystemDefaults();
#ifdef _WIN32
  if (const wchar_t* spec = _wgetenv(L"OSTRACONV_DRIVES")) {
    std::wstring w(spec);
    drives.AddSpec(ToUtf8(Text(w.begin(), w.end())));
  }
#else
  if (const char* spec = std::getenv("OSTRACONV_DRIVES")) drives.AddSpec(spec);
#endif
  return drives;
}

}  // namespace

int CliMain(int argc, char** argv) {
  std::unique_ptr<Env> host = NewHostEnv(argc > 0 ? argv[0] : nullptr);
  DriveMap drives = DrivesOfEnvironment();
  std::string patdatArg;
  std::string reportJson;
  std::string previewSvg;
  double previewScale = 100;  // the picture's depth scale, 1:previewScale
  bool yes = false;
  bool dryRun = false;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (a == "--yes" || a == "-y") {
      yes = true;
    } else if (a == "--dry-run") {
      dryRun = true;
    } else if (a == "--scale") {
      if (i + 1 >= argc) return UsageError(a + " needs a value");
      previewScale = std::atof(argv[++i]);
      if (!(previewScale >= 1 && previewScale <= 100000)) {
        return UsageError(std::string("bad scale: ") + argv[i]);
      }
    } else if (a == "--patdat" || a == "--drive" || a == "--report-json" || a == "--preview") {
      if (i + 1 >= argc) return UsageError(a + " needs a value");
      std::string v = argv[++i];
      if (a == "--patdat") {
        patdatArg = v;
      } else if (a == "--report-json") {
        reportJson = v;
      } else if (a == "--preview") {
        previewSvg = v;
      } else if (!drives.AddSpec(v)) {
        return UsageError("bad drive mapping: " + v);
      }
    } else if (a.rfind("--patdat=", 0) == 0) {
      patdatArg = a.substr(9);
    } else if (a.rfind("--drive=", 0) == 0) {
      if (!drives.AddSpec(a.substr(8))) return UsageError("bad drive mapping: " + a.substr(8));
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return UsageError("unknown option: " + a);
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) return UsageError("SOURCE and DEST are required");
  DriveMapEnv env(*host, drives);

  std::optional<Text> source = DriveFormOf(drives, positional[0]);
  if (!source) return UsageError("SOURCE lies on no mapped drive: " + positional[0]);
  std::optional<Text> dest = DriveFormOf(drives, positional[1]);
  if (!dest) return UsageError("DEST lies on no mapped drive: " + positional[1]);
  // The window offers only MDT files as sources: another section file would convert into
  // garbage titles and missing layer files.
  if (!IsMdtFileName(*source)) {
    PrintTo(stderr, u"変換元 \"" + *source +
                        u"\" は MDT ファイルではありません。MDT "
                        u"で始まる名前のファイル（MDT0001.GDF など）を指定してください。");
    return 2;
  }

  AppState app;
  app.lockWait = LockWaitSetting(std::getenv("OSTRACONV_LOCK_WAIT"));
  TerminalUi ui(yes, app.lockWait);
  if (!patdatArg.empty()) {
    std::optional<Text> p = DriveFormOf(drives, patdatArg);
    if (!p) return UsageError("--patdat lies on no mapped drive: " + patdatArg);
    app.patdatFolder = *p;
    if (app.patdatFolder.back() != u'\\') app.patdatFolder += u"\\";
    if (!env.FolderExists(app.patdatFolder)) {
      PrintTo(stderr, u"参照フォルダ \"" + app.patdatFolder + u"\" がありません。");
      return 1;
    }
  } else {
    app.patdatFolder = FindPatdat(env);
    if (app.patdatFolder.empty()) {
      PrintTo(stderr, u" PATDAT の設定がありません.");
      return 1;
    }
  }

  // The picture is drawn from the converted files: a trial run's are in its memory Env.
  bool previewOk = true;
  auto preview = [&](Env& files, const Text& folder) {
    if (!previewSvg.empty())
      previewOk = WriteHostFile(previewSvg, RenderBoringLogSvg(files, folder, previewScale));
  };
  RunOutcome outcome = dryRun ? DryRun(app, env, ui, *source, *dest, preview)
                              : Command1_Click(app, env, ui, *source, *dest);
  if (outcome != RunOutcome::kCompleted) {
    // The run's own words do not say which source it was given.
    const Text given = Trim(*source);
    if (env.FolderExists(given)) {
      PrintTo(stderr, u"変換元 \"" + given + u"\" はフォルダです。");
    } else if (!env.FileExists(given)) {
      PrintTo(stderr, u"変換元 \"" + given + u"\" がありません。");
    }
    return 1;
  }
  if (!dryRun) preview(env, app.lastReport.destination);
  PrintTo(stdout, kMsgCompleted);
  Text report = ReportText(app.lastReport);
  while (!report.empty() && report.back() == u'\n') report.pop_back();
  PrintTo(stdout, u"\n" + report);
  if (!reportJson.empty() && !WriteHostFile(reportJson, ReportJson(app.lastReport))) return 1;
  return previewOk ? 0 : 1;
}

}  // namespace ostra
