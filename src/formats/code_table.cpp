#include "formats/code_table.h"

#include <string>

#include "base/errors.h"
#include "base/numbers.h"
#include "formats/section_file.h"

namespace ostra {

CodeTable ReadCodeTable(FieldReader& reader, size_t maxRows) {
  const Text& path = reader.Path();
  CodeTable table;
  while (!reader.AtEnd()) {
    CodeRow row;
    row.code = reader.ReadText();
    if (reader.AtEnd()) {
      throw ProblemError(Problem::kLastRecordShort, {}, path, ErrorKind::kReferenceFolder);
    }
    row.key = reader.ReadText();
    if (table.size() >= maxRows) {
      throw ProblemError(Problem::kTooManyRows, {IntText(static_cast<long long>(maxRows))}, path,
                         ErrorKind::kReferenceFolder);
    }
    table.push_back(std::move(row));
  }
  return table;
}

}  // namespace ostra
