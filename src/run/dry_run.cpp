#include "run/dry_run.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <system_error>

#include "base/sjis.h"
#include "env/drives.h"
#include "env/files.h"
#include "run/validate_path.h"

namespace ostra {

namespace fs = std::filesystem;

namespace {

// Answers the folder question with Yes: only the scratch destination gets created.
class TrialUi : public UiPort {
 public:
  explicit TrialUi(UiPort& ui) : ui_(ui) {}
  void SetStatus(const Text& text) override { ui_.SetStatus(text); }
  void ProcessEvents() override { ui_.ProcessEvents(); }
  void ShowMessage(const Text& text, MsgIcon icon, const Text& title) override {
    ui_.ShowMessage(text, icon, title);
  }
  bool AskYesNo(const Text&, const Text&) override { return true; }
  void SetBusy(bool busy) override { ui_.SetBusy(busy); }
  void SelectDestination() override { ui_.SelectDestination(); }
  void Warn(const Text& text) override { ui_.Warn(text); }

 private:
  UiPort& ui_;
};

// A fresh scratch folder; its name holds no "." or blank, so paths below it pass the path check.
fs::path MakeScratchFolder() {
  std::random_device rd;
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) base = fs::current_path();
  for (int attempt = 0; attempt < 50; ++attempt) {
    fs::path p = base / ("ostraconvtrial" + std::to_string(rd() % 1000000000u));
    if (fs::create_directory(p, ec)) return p;
  }
  throw RunError(u"試行用の作業フォルダを作成できません。");
}

// A drive letter no drive uses.
char16_t FreeLetter() {
  std::vector<char16_t> used = DriveMap::Instance().Letters();
  for (char16_t d = u'Y'; d >= u'D'; --d) {
    if (std::find(used.begin(), used.end(), d) == used.end()) return d;
  }
  throw RunError(u"試行用のドライブ名がありません。");
}

// Copies the files (not the subfolders) of a folder.
void CopyFolderFiles(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  for (const fs::directory_entry& e : fs::directory_iterator(from)) {
    std::error_code ec;
    if (e.is_regular_file(ec)) {
      fs::copy_file(e.path(), to / e.path().filename(), fs::copy_options::overwrite_existing);
    }
  }
}

}  // namespace

RunOutcome DryRun(AppState& app, UiPort& ui, const Text& text1, const Text& text2,
                  const std::function<void(const Text&)>& inspect) {
  // The destination is checked as the run checks it, so that a bad one is refused the same way.
  Text checked = text2;
  if (!ValidatePath(checked, ui)) {
    ui.ShowMessage(kMsgBadPath, MsgIcon::kExclamation, text2);
    ui.SelectDestination();
    return RunOutcome::kStopped;
  }
  const Text source = Trim(text1);
  if (source.empty() || !SelectableFileExists(source)) {
    ui.ShowMessage(kMsgNoSource, MsgIcon::kNone, Text());
    return RunOutcome::kStopped;
  }

  DriveMap& drives = DriveMap::Instance();
  fs::path scratch;
  char16_t letter = 0;
  RunOutcome outcome = RunOutcome::kStopped;
  try {
    scratch = MakeScratchFolder();
    letter = FreeLetter();
    drives.Set(letter, scratch);
    const Text root = Text(1, letter) + u":";

    // The reference folder and the data set (the MDT file and its siblings) as they stand.
    CopyFolderFiles(drives.ToHost(app.patdatFolder), scratch / "PATDAT");
    const fs::path sourceHost = drives.ToHost(source);
    const fs::path sourceFolder = sourceHost.parent_path();
    const Text name = HostText(sourceHost.filename());
    fs::create_directories(scratch / "GEO");
    fs::copy_file(sourceHost, scratch / "GEO" / HostPath(name));
    for (const char16_t* section : {u"BDT", u"KDT", u"NDT", u"LDT", u"CDT"}) {
      const fs::path sibling = HostPath(section + (name.size() > 3 ? name.substr(3) : Text()));
      std::error_code ec;
      if (fs::is_regular_file(sourceFolder / sibling, ec)) {
        fs::copy_file(sourceFolder / sibling, scratch / "GEO" / sibling);
      } else if (fs::is_directory(sourceFolder / sibling, ec)) {
        fs::create_directories(scratch / "GEO" / sibling);
      }
    }

    AppState trial;
    trial.patdatFolder = root + u"\\PATDAT\\";
    trial.trialRun = true;
    TrialUi trialUi(ui);
    const Text trialDest = root + checked.substr(2);
    outcome = Command1_Click(trial, trialUi, root + u"\\GEO\\" + name, trialDest);
    app.completionShown = trial.completionShown;
    app.lastReport = trial.lastReport;
    if (outcome == RunOutcome::kCompleted && inspect) inspect(trialDest);
  } catch (const RunError& e) {
    ui.ShowMessage(e.Message(), MsgIcon::kCritical, Text());
    outcome = RunOutcome::kStopped;
  } catch (const std::exception& e) {
    ui.ShowMessage(u"試行の準備ができません。(" + FromUtf8(e.what()) + u")", MsgIcon::kCritical,
                   Text());
    outcome = RunOutcome::kStopped;
  }
  app.lastReport.dryRun = true;
  app.lastReport.source = source;
  app.lastReport.destination = checked.size() > 3 && checked.back() == u'\\'
                                   ? checked.substr(0, checked.size() - 1)
                                   : checked;
  app.lastReport.patdatFolder = app.patdatFolder;
  for (RunReport::Section& s : app.lastReport.sections) {
    size_t slash = s.file.find_last_of(u'\\');
    s.file = PathFolder(source) + (slash == Text::npos ? s.file : s.file.substr(slash + 1));
  }
  if (letter != 0) drives.Remove(letter);
  if (!scratch.empty()) {
    std::error_code ec;
    fs::remove_all(scratch, ec);
  }
  return outcome;
}

}  // namespace ostra
