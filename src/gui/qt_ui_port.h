// The window side of the conversion run, in Qt: message line, message boxes, busy pointer.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "run/ui_port.h"

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

class QtUiPort : public UiPort {
 public:
  // `owner` gets the busy pointer and owns the boxes; `status` is Label3 and `destination` is
  // Text2.
  QtUiPort(QWidget* owner, QLabel* status, QLineEdit* destination);
  ~QtUiPort() override;
  QtUiPort(const QtUiPort&) = delete;
  QtUiPort& operator=(const QtUiPort&) = delete;

  void SetStatus(const Text& text) override;
  void ProcessEvents() override;
  void ShowMessage(const Text& text, MsgIcon icon, const Text& title) override;
  bool AskYesNo(const Text& text, const Text& title) override;
  void SetBusy(bool busy) override;
  void SelectDestination() override;
  bool CancelRequested() override { return cancelRequested_; }

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
