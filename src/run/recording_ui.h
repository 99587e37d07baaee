// The run's view of the window: everything passes on, and the run keeps what it needs for its
// report.
#pragma once

#include <vector>

#include "run/ui_port.h"

namespace ostra {

// Passes everything on to the window, keeping the warnings for the report.
class RecordingUi : public ForwardingUi {
 public:
  RecordingUi(UiPort& ui, std::vector<Text>& warnings) : ForwardingUi(ui), warnings_(warnings) {}
  void Warn(const Text& text) override {
    warnings_.push_back(text);
    ForwardingUi::Warn(text);
  }
  void ShowMessage(const Text& text, MsgIcon icon, const Text& title) override {
    lastMessage = text;
    ForwardingUi::ShowMessage(text, icon, title);
  }

  Text lastMessage;  // the last message box shown

 private:
  std::vector<Text>& warnings_;
};

}  // namespace ostra
