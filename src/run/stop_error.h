// The report's account of why a run stopped, and the messages that tell the user.
#pragma once

#include <optional>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"
#include "run/report.h"

namespace ostra {

// The message shown, the file it is about, what it was about and, for a problem with the data,
// where in the file it lies.
RunReport::Error StopError(const Text& message, const Text& file, ErrorKind kind,
                           const std::optional<DataPlace>& place = std::nullopt);

// One message box with an OK button.
struct StopMessage {
  Text text;
  MsgIcon icon = MsgIcon::kNone;
  Text title;  // "" for the program's own
};

// The message boxes that tell why a run stopped, in the order they are shown; none when the
// user already knows (the folder question answered No, a wait given up).
std::vector<StopMessage> StopMessages(const RunReport::Error& error);

}  // namespace ostra
