// The behaviour of the program's one window, without a window toolkit: start-up, the drive,
// folder and file selectors, the text boxes, Execute and Exit, the trial run and the added
// picture and report windows. A skin (Qt, Windows) shows what it is told through FormView and
// calls the handlers below for what the user does.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/form_view.h"
#include "env/drive_map_env.h"
#include "run/convert.h"
#include "run/report.h"

namespace ostra {

inline constexpr const char16_t* kFormCaption = u"岩盤柱状図 -> Ostra 変換プログラム";
inline constexpr const char16_t* kMsgNoPatdat = u" PATDAT の設定がありません.";
// The sources the file list offers: legacy data sets by their MDT file, and boring exchange
// XML files.
inline constexpr const char16_t* kSourcePattern = u"MDT*.GDF;BED*.XML";

// What the window keeps from start-up and from one run to the next.
struct AppState {
  Text patdatFolder;             // the reference folder, ending with "\"
  bool completionShown = false;  // the completion line is showing in Label3
  RunReport lastReport;          // what the last run did
  // How long a run waits for another run that holds the reference folder.
  std::chrono::milliseconds lockWait = kDefaultLockWait;
  // The encoding of the data set's files: decided from them, or the user's choice.
  DataEncoding encoding = DataEncoding::kAuto;
};

class Form1 {
 public:
  // `workingFolder`: the process's working folder (host form); its drive and folder are the
  // current ones at start when a drive maps it, else the root of the first ready drive.
  Form1(DriveMapEnv& env, FormView& view, const std::filesystem::path& workingFolder);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Start-up: finds the reference folder and fills the selectors (the skin centres the window).
  // Returns false when there is no reference folder: the message has been shown, the window
  // closed, and the program is to end.
  bool Form_Load();

  // What the user does in the lists, by row of what the view was last told to show.
  void Drive1_Select(int row);  // then Drive1_Change
  void Drive2_Select(int row);
  void Dir1_Open(int row);  // a double click or Enter on a line: opens it (then Dir1_Change)
  void Dir2_Open(int row);
  void File1_Select(int row);  // a click or the keyboard chose the file (then File1_Click)

  // Event handlers, named control_event.
  void Drive1_Change();
  void Drive2_Change();
  void Dir1_Change();
  void Dir2_Change();
  void File1_Click();
  // Text1 changed (the user typed in it, or the presenter set it): an open picture window
  // follows a source that names an existing data set.
  void Text1_Change();
  void Picture1_MouseMove();
  void Command1_Click();
  void Command2_Click();
  // The added buttons: the trial (試行変換), the picture (柱状図表示), the report (変換結果),
  // and the report window's choice of encoding (a trial shown is made again with it).
  void DryRunButton_Click();
  void PreviewButton_Click();
  void ReportButton_Click();
  void EncodingChosen(DataEncoding encoding);
  // The window's close box: true when it may close now; during a run it gives the run up
  // where it waits and the window closes when the run is over.
  bool QueryClose();

  // What the selectors hold.
  char16_t Drive1Letter() const;
  char16_t Drive2Letter() const;
  const Text& Dir1Path() const;
  const Text& Dir2Path() const;
  const Text& File1Folder() const;
  // The data set the picture shows: the source file in Text1.
  Text PictureSource() const;
  bool Running() const { return running_; }
  AppState& State() { return app_; }
  const AppState& State() const { return app_; }

 private:
  class Observer;
  struct Lists;
  RunReport Execute(bool trial);
  void EndRun();
  void AfterRun();
  void ShowPreview(bool raise);
  // Text1 set by the presenter, which the picture follows as it follows the user's typing.
  void SetSource(const Text& text);
  // What the picture says of a run that stopped part-way: the note of the last run's destination
  // when that run was of `source` (a trial's from its memory files); empty otherwise.
  Text RunNoteFor(const Text& source) const;

  DriveMapEnv& env_;
  FormView& view_;
  AppState app_;
  std::unique_ptr<Lists> lists_;
  std::unique_ptr<Observer> observer_;
  bool running_ = false;
  bool cancelRequested_ = false;
  // The note the last trial left in its memory files (none: it left none).
  std::optional<Text> trialNote_;
  // The source the picture window shows; empty before it showed one.
  Text shownSource_;
};

}  // namespace ostra
