#include "run/stop_error.h"

#include "run/validate_path.h"

namespace ostra {

RunReport::Error StopError(const Text& message, const Text& file, ErrorKind kind,
                           const std::optional<DataPlace>& place) {
  RunReport::Error error;
  error.message = message;
  error.file = file;
  error.kind = kind;
  if (place) {
    error.line = place->line;
    error.column = place->column;
    error.record = place->record;
    error.recordCount = place->recordCount;
    error.field = place->field;
    error.value = place->value;
  }
  return error;
}

std::vector<StopMessage> StopMessages(const RunReport::Error& error) {
  std::vector<StopMessage> messages;
  if (error.told) return messages;
  // The drive name's rule comes first, then the refusal that every bad path gets.
  if (error.reason == StopReason::kDriveName)
    messages.push_back({kDriveNameMessage, MsgIcon::kInformation, Text()});
  messages.push_back({error.message, error.icon, error.title});
  return messages;
}

}  // namespace ostra
