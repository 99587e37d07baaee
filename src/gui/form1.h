// The program's one window: source file and destination folder selectors, Execute and Exit.
#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <chrono>
#include <map>
#include <memory>

#include "gui/preview_window.h"
#include "gui/qt_ui_port.h"
#include "gui/selectors.h"
#include "preview/boring_log_model.h"
#include "run/convert.h"
#include "run/run.h"

namespace ostra {

inline constexpr const char16_t* kFormCaption = u"岩盤柱状図 -> Ostra 変換プログラム";
inline constexpr const char16_t* kMsgNoPatdat = u" PATDAT の設定がありません.";
inline constexpr const char16_t* kSourcePattern = u"MDT*.GDF";

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

class Form1 : public QWidget {
  Q_OBJECT

 public:
  explicit Form1(DriveMapEnv& env, QWidget* parent = nullptr);
  ~Form1() override;

  // Start-up: centres the window, finds the reference folder and fills the selectors. Returns
  // false when there is no reference folder: the message has been shown, the window is closed
  // and the program is to end.
  bool Form_Load();

  // Event handlers, named control_event.
  void Drive1_Change();
  void Drive2_Change();
  void Dir1_Change();
  void Dir2_Change();
  void File1_Click();
  void Picture1_MouseMove();
  void Command1_Click();
  void Command2_Click();

  // Added to the original window, in a strip below it: the picture of the converted boring log
  // of the last destination, and the report of the last run.
  void PreviewButton_Click();
  void ReportButton_Click();
  // A trial conversion kept in memory: shows what a real one would write and register.
  void DryRunButton_Click();
  // The folder the picture shows: the last run's destination, else the one in Text2.
  Text PreviewFolder() const;

  AppState& State() { return app_; }
  QtUiPort& Port() { return *port_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  // A run of the data set in Text1 into the folder in Text2 (a trial: in memory), with what the
  // window does around it: the please-wait line and one pass of events before; the completion
  // line, or the messages of the stop and the destination selected after a refused path, the
  // pointer back and the line emptied, after.
  RunReport Execute(bool trial);
  // After a run or a trial: the report can be shown, and open added windows follow it.
  void AfterRun();
  // After a run or a trial, whatever its end: the window reacts again and shows what changed;
  // when Exit was pressed meanwhile, it closes.
  void EndRun();
  // Moves an added window over this one.
  void PlaceOver(QWidget* window) const;
  void ShowPreview();
  // Geometry in twips, converted to pixels at the screen's logical resolution.
  int Px(int twips) const;
  void Place(QWidget* w, int left, int top, int width, int height) const;
  // The drive's current folder (its root until a folder of it has been made current).
  Text CurrentFolderOf(char16_t letter) const;
  void MakeCurrent(const Text& folder);
  // Shared by both drive handlers: on failure the list goes back to `lastGood` silently.
  void DriveChange(DriveList* drive, FolderList* dir, char16_t& lastGood);

  DriveMapEnv& env_;
  AppState app_;
  std::unique_ptr<QtUiPort> port_;
  double scale_ = 1.0;
  bool running_ = false;
  // The picture of the last trial run, read from its files in memory.
  std::shared_ptr<BoringLogModel> trialModel_;
  // The current folder of each drive and the current drive, as the selectors left them.
  std::map<char16_t, Text> currentFolders_;
  char16_t currentDrive_ = 0;
  char16_t drive1Last_ = 0;
  char16_t drive2Last_ = 0;

  QFrame* picture1_ = nullptr;
  QLabel* label1_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QGroupBox* frame1_ = nullptr;
  FileList* file1_ = nullptr;
  FolderList* dir1_ = nullptr;
  DriveList* drive1_ = nullptr;
  QGroupBox* frame2_ = nullptr;
  FolderList* dir2_ = nullptr;
  DriveList* drive2_ = nullptr;
  QGroupBox* frame3_ = nullptr;
  QLabel* label3_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* reportButton_ = nullptr;
  QPushButton* dryRunButton_ = nullptr;
  BoringLogWindow* previewWindow_ = nullptr;  // owned as child windows, made when first asked
  RunReportWindow* reportWindow_ = nullptr;
};

}  // namespace ostra
