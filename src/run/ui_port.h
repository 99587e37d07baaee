// What the conversion run needs of its window. The Qt window, the command-line front end and
// the tests each supply their own.
#pragma once

#include "base/codec.h"
#include "convert/warnings.h"
#include "run/error_text.h"

namespace ostra {

enum class MsgIcon { kNone, kInformation, kExclamation, kQuestion, kCritical };

class UiPort : public WarningSink {
 public:
  virtual ~UiPort() = default;
  // The message line (Label3).
  virtual void SetStatus(const Text& text) = 0;
  // One pass of pending window events.
  virtual void ProcessEvents() = 0;
  // A modal message box with an OK button.
  virtual void ShowMessage(const Text& text, MsgIcon icon, const Text& title) = 0;
  // A modal Yes/No question with the question icon; true for Yes.
  virtual bool AskYesNo(const Text& text, const Text& title) = 0;
  // The busy (hourglass) pointer on or off.
  virtual void SetBusy(bool busy) = 0;
  // Focus on the destination text box with its whole text selected.
  virtual void SelectDestination() = 0;
  // True once the user has asked to give up the run (the window's Exit while the run waits for
  // the reference folder). A run asks only where it has changed nothing yet.
  virtual bool CancelRequested() { return false; }
  // A warning after which the run goes on.
  void Warn(const Text& text) override { ShowMessage(text, MsgIcon::kExclamation, Text()); }
  Text Worded(const std::exception& e) override { return ErrorMessage(e); }
};

// Passes everything on to another port; decorators override what they change.
class ForwardingUi : public UiPort {
 public:
  explicit ForwardingUi(UiPort& ui) : ui_(ui) {}
  void SetStatus(const Text& text) override { ui_.SetStatus(text); }
  void ProcessEvents() override { ui_.ProcessEvents(); }
  void ShowMessage(const Text& text, MsgIcon icon, const Text& title) override {
    ui_.ShowMessage(text, icon, title);
  }
  bool AskYesNo(const Text& text, const Text& title) override { return ui_.AskYesNo(text, title); }
  void SetBusy(bool busy) override { ui_.SetBusy(busy); }
  void SelectDestination() override { ui_.SelectDestination(); }
  bool CancelRequested() override { return ui_.CancelRequested(); }
  void Warn(const Text& text) override { ui_.Warn(text); }

 private:
  UiPort& ui_;
};

}  // namespace ostra
