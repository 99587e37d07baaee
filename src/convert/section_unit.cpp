#include "convert/section_unit.h"

#include "base/errors.h"

namespace ostra {

OutFile SectionRun::Create(const Text& name) const {
  OutFile file(Files(), Out(name));
  noteOutput(name);
  return file;
}

void SectionRun::NoteIfWritten(const Text& name) const {
  if (Files().FileExists(Out(name))) noteOutput(name);
}

void SkipHeaderValue(FieldReader& reader) {
  reader.ReadNumber(kWhatHeader);
}

void CheckFieldCount(const FieldReader& reader, int fields) {
  if (fields > kMaxFields) {
    throw RunError(MsgTooManyFields(reader.Path(), kWhatFields, fields, kMaxFields), reader.Path(),
                   ErrorKind::kData);
  }
}

std::pair<int, int> ReadSixValueHeader(FieldReader& reader) {
  SkipHeaderValue(reader);
  const int records = reader.ReadCount(kWhatRecords);
  const int fields = reader.ReadCount(kWhatFields);
  SkipHeaderValue(reader);
  SkipHeaderValue(reader);
  SkipHeaderValue(reader);
  return {records, fields};
}

}  // namespace ostra
