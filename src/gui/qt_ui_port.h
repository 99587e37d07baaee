// The window side of the conversion run, in Qt: message line, message boxes, busy pointer.
// It is what a run tells the window, and what the window does around a run.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "run/convert.h"
#include "run/report.h"

namespace ostra {

// One message box: the text, its icon and title, and whether it asks Yes or No.
struct MessageBoxRequest {
  Text text;
  MsgIcon icon = MsgIcon::kNone;
  Text title;  // "" for the program's own title
  bool yesNo = false;
};

// Shows a message box and answers true for OK or Yes. Every message box of the window goes
// through one of these, so that it can be replaced (tests answer without a modal dialog).
using MessageBoxHook = std::function<bool(const MessageBoxRequest&)>;

inline constexpr const char16_t* kButtonYes = u"はい";
inline constexpr const char16_t* kButtonNo = u"いいえ";
inline constexpr const char16_t* kButtonOk = u"OK";

// The message box for a request, owned by `owner`, with Japanese buttons whatever the system's
// language: "はい" (default, key Y) and "いいえ" (Esc and key N) for a question, "OK" (default,
// also Esc) for a message.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const MessageBoxRequest& request);
// Qt's own dialogs (printing, choosing a file) in Japanese: installs Qt's Japanese texts from
// the program's folder ("translations" beside it, as windeployqt puts them) or from Qt's own
// translations folder. False when they are not found; the dialogs then keep Qt's texts.
bool InstallJapaneseQtTexts();

// Shows the box modally; true for OK or Yes.
bool ShowMessageBox(QWidget* owner, const MessageBoxRequest& request);

class QtUiPort : public RunObserver {
 public:
  // `owner` gets the busy pointer and owns the boxes; `status` is Label3 and `destination` is
  // Text2.
  QtUiPort(QWidget* owner, QLabel* status, QLineEdit* destination);
  ~QtUiPort() override;
  QtUiPort(const QtUiPort&) = delete;
  QtUiPort& operator=(const QtUiPort&) = delete;

  // The message line (Label3).
  void SetStatus(const Text& text);
  // One pass of pending window events.
  void ProcessEvents();
  // A modal message box with an OK button.
  void ShowMessage(const Text& text, MsgIcon icon, const Text& title);
  // A modal Yes/No question with the question icon; true for Yes.
  bool AskYesNo(const Text& text, const Text& title);
  // The hourglass pointer on or off.
  void SetBusy(bool busy);
  // Focus on the destination text box with its whole text selected.
  void SelectDestination();

  // What a run tells the window: the message line, the folder question, the hourglass from the
  // start of the work, one pass of events for each look at a reference folder in use, and the
  // warnings in message boxes with the exclamation icon.
  void Status(const Text& text) override { SetStatus(text); }
  bool Ask(const Text& question) override { return AskYesNo(question, Text()); }
  void WorkStarts() override { SetBusy(true); }
  void StillWaiting() override { ProcessEvents(); }
  bool CancelRequested() override { return cancelRequested_; }
  void Warn(const Text& text) override { ShowMessage(text, MsgIcon::kExclamation, Text()); }

  // While a run passes events on, the windows do not react to the user: mouse and keyboard go
  // only to `cancel` (the Exit button), whose click gives the run up through RequestCancel.
  void SetCancelWidget(QWidget* cancel) { cancel_ = cancel; }
  void RequestCancel() { cancelRequested_ = true; }
  // Called before each run.
  void ResetCancel() { cancelRequested_ = false; }
  // Passes pending events as ProcessEvents does, input to any widget but `cancel` dropped.
  void DropInput();

  // Replaces the message boxes; an empty hook brings the real ones back.
  void SetMessageBoxHook(MessageBoxHook hook) { hook_ = std::move(hook); }
  bool Busy() const { return busy_; }

 private:
  bool Show(const MessageBoxRequest& request);

  QPointer<QWidget> owner_;
  QPointer<QLabel> status_;
  QPointer<QLineEdit> destination_;
  QPointer<QWidget> cancel_;
  MessageBoxHook hook_;
  bool busy_ = false;
  bool cancelRequested_ = false;
};

}  // namespace ostra
