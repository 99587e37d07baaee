// What the window's behaviour needs of a window toolkit: the contents of the controls, message
// boxes, the pointer, focus and the added windows. The Qt window and the Windows window each
// implement it; the tests implement it with plain values.
#pragma once

#include <memory>
#include <vector>

#include "base/codec.h"
#include "formats/data_set_encoding.h"
#include "preview/boring_log_model.h"
#include "run/report.h"

namespace ostra {

// One message box: the text, its icon and title, and whether it asks Yes or No.
struct MessageBoxRequest {
  Text text;
  MsgIcon icon = MsgIcon::kNone;
  Text title;  // "" for the program's own title
  bool yesNo = false;
};

inline constexpr const char16_t* kButtonYes = u"はい";
inline constexpr const char16_t* kButtonNo = u"いいえ";
inline constexpr const char16_t* kButtonOk = u"OK";

// The lists of the window.
enum class Selector { kDrive1, kDir1, kFile1, kDrive2, kDir2 };

// One line of a folder list: the levels from the drive root down to the current folder (open
// folders), then the subfolders of the current folder. `indent` is the line's depth: 0 for the
// root.
struct FolderRow {
  Text name;  // "T:\" for the root, else the folder's own name
  int indent = 0;
  bool open = false;  // a level of the current path (the last of them is the current folder)
};

// A place on the screen, in pixels.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

class FormView {
 public:
  virtual ~FormView() = default;

  // The text boxes Text1 (source file) and Text2 (destination folder).
  virtual Text Text1() const = 0;
  virtual void SetText1(const Text& text) = 0;
  virtual Text Text2() const = 0;
  virtual void SetText2(const Text& text) = 0;
  // The message line Label3.
  virtual void SetStatus(const Text& text) = 0;

  // What a list shows: its lines and the selected one (-1: none). A drive list's lines are
  // those of DriveLines; a folder list's current row is the last open one.
  virtual void ShowDrives(Selector list, const std::vector<Text>& lines, int selected) = 0;
  virtual void ShowFolders(Selector list, const std::vector<FolderRow>& rows, int current) = 0;
  virtual void ShowFiles(const std::vector<Text>& names, int selected) = 0;

  // A modal message box; true for OK or Yes. Buttons are Japanese whatever the system's
  // language: "はい" (default) and "いいえ" for a question, "OK" for a message.
  virtual bool ShowBox(const MessageBoxRequest& request) = 0;
  // The hourglass pointer on or off.
  virtual void SetBusy(bool busy) = 0;
  // One pass of pending window events: the window is redrawn, and during a run only Exit
  // (Command2) reacts; the presenter learns of it through Command2_Click.
  virtual void ProcessEvents() = 0;
  // Passes pending events, dropping mouse and keyboard input to anything but Exit: what the user
  // typed or clicked while a run worked is not done afterwards.
  virtual void DropInput() = 0;
  // Focus on Text2 with its whole text selected.
  virtual void SelectDestination() = 0;
  // The report button (変換結果) works once a run has made a report.
  virtual void SetReportEnabled(bool enabled) = 0;

  // The report window: opened (placed beside the main window) or brought up when `raise`, else
  // only updated when it is open. `encoding` is the choice its encoding box shows.
  virtual void ShowReport(const Text& text, DataEncoding encoding, bool raise) = 0;
  virtual bool ReportOpen() const = 0;
  // The picture window, likewise, with the picture of the data set `source` (its MDT or XML
  // file; a null model: `source` names no data set, nothing to show). The window is titled with
  // the source, and offers to save the picture as a PDF named after the hole (PictureFileName).
  virtual void ShowPicture(const Text& source, std::shared_ptr<const BoringLogModel> model,
                           bool raise) = 0;
  virtual bool PictureOpen() const = 0;

  // Closes the main window; the program ends.
  virtual void CloseWindow() = 0;
};

}  // namespace ostra
