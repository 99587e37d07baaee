#include "convert/section_unit.h"

namespace ostra {

OutputFile SectionRun::Create(const Text& name) const {
  OutputFile file(Files(), Out(name));
  noteOutput(name);
  return file;
}

void SectionRun::NoteIfWritten(const Text& name) const {
  if (Files().FileExists(Out(name))) noteOutput(name);
}

void SkipHeaderValue(FieldReader& reader) {
  reader.ReadNumber(kWhatHeader);
}

std::pair<Count, Count> ReadSixValueHeader(FieldReader& reader) {
  SkipHeaderValue(reader);
  Count records = reader.ReadCount(kWhatRecords);
  Count fields = reader.ReadCount(kWhatFields);
  SkipHeaderValue(reader);
  SkipHeaderValue(reader);
  SkipHeaderValue(reader);
  return {records, fields};
}

}  // namespace ostra
