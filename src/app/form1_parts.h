// The presenter's private parts: what the selectors hold, and the observer through which a run
// speaks to the window.
#pragma once

#include <map>
#include <vector>

#include "app/form1.h"
#include "app/selectors.h"

namespace ostra {

// The status line of a trial into a destination that does not exist yet, and the line the trial's
// report gains: a real conversion creates the folder (after asking).
inline constexpr const char16_t* kMsgTrialCreatesFolder =
    u"試行変換が終了しました（変換先フォルダは実際の変換で作成されます）";
inline constexpr const char16_t* kReportCreatesFolder =
    u"（変換先フォルダはまだありません。実際の変換で作成されます）";

// The two sides of the window: the source (Drive1, Dir1) and the destination (Drive2, Dir2).
enum class Side { kSource = 0, kDestination = 1 };

struct Form1::Lists {
  Lists(DriveMapEnv& env, FormView& view) : env(env), view(view) {}

  // The drive list's letters, as shown (both drive lists show the same lines).
  void ShowDrives(Side side);
  int DriveRow(char16_t letter) const;
  // The drive's current folder: the one last made current on it while it can be read, else its
  // root.
  Text CurrentFolderOf(char16_t letter);
  void MakeCurrent(const Text& folder);
  // Opens `path` in the side's folder list; false, leaving the list as it was, when the folder
  // cannot be read. `changed` tells whether it differs from the folder shown before.
  bool OpenFolder(Side side, const Text& path, bool& changed);
  // The side's drive list chose `drive`: its folder list opens at the drive's current folder,
  // else its root. True when that is another folder than the list showed.
  bool ChangeDrive(Side side);
  // Shows the side's folder again (a run may have created folders in it).
  void Refresh(Side side);
  // Reads the file list of `folder` anew: nothing is chosen in it.
  void FillFiles(const Text& folder);

  DriveMapEnv& env;
  FormView& view;
  std::vector<char16_t> letters;
  std::vector<Text> lines;
  char16_t drive[2] = {0, 0};     // the letter each drive list shows
  char16_t lastGood[2] = {0, 0};  // the drive each list selected successfully last
  Text dir[2];                    // the folder each folder list is open at
  std::vector<Text> dirPaths[2];  // the full path of each row of each folder list
  Text pattern = u"*";
  Text fileFolder;
  std::vector<Text> files;
  int fileRow = -1;  // the chosen file, -1: none
  std::map<char16_t, Text> currentFolders;
  char16_t currentDrive = 0;
};

// What a run tells the window: the message line, the folder question, the hourglass from the
// start of the work, one pass of events for each look at a reference folder in use (where Exit
// may give the run up), and the warnings in message boxes with the exclamation icon.
class Form1::Observer : public RunObserver {
 public:
  Observer(FormView& view, const bool& cancelRequested)
      : view_(view), cancelRequested_(cancelRequested) {}

  // Before each run: whether it is a trial.
  void Begin(bool trial) {
    trial_ = trial;
    createsFolder_ = false;
  }
  // A trial whose destination a real conversion would have to create (the user agreed).
  bool TrialCreatesFolder() const { return createsFolder_; }
  bool Busy() const { return busy_; }
  void SetBusy(bool busy) {
    busy_ = busy;
    view_.SetBusy(busy);
  }

  void Status(const Text& text) override { view_.SetStatus(text); }
  bool Ask(const Text& question) override {
    const bool yes = view_.ShowBox({question, MsgIcon::kQuestion, Text(), true});
    if (yes && trial_) createsFolder_ = true;
    return yes;
  }
  void WorkStarts() override { SetBusy(true); }
  void StillWaiting() override { view_.ProcessEvents(); }
  bool CancelRequested() override { return cancelRequested_; }
  void Warn(const Text& text) override {
    view_.ShowBox({text, MsgIcon::kExclamation, Text(), false});
  }

 private:
  FormView& view_;
  const bool& cancelRequested_;
  bool trial_ = false;
  bool createsFolder_ = false;
  bool busy_ = false;
};

}  // namespace ostra
