// The window side of the conversion run, in Qt: message line, message boxes, busy pointer.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <functional>

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

// The modal QMessageBox for a request, owned by `owner`.
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

  // Replaces the message boxes; an empty hook brings the real ones back.
  void SetMessageBoxHook(MessageBoxHook hook) { hook_ = std::move(hook); }
  bool Busy() const { return busy_; }

 private:
  bool Show(const MessageBoxRequest& request);

  QPointer<QWidget> owner_;
  QPointer<QLabel> status_;
  QPointer<QLineEdit> destination_;
  MessageBoxHook hook_;
  bool busy_ = false;
};

}  // namespace ostra
