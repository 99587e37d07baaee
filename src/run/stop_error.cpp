#include "run/stop_error.h"

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

}  // namespace ostra
