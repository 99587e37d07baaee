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

MdtCounts ReadMdtCounts(FieldReader& reader) {
  MdtCounts counts;
  SkipHeaderValue(reader);
  counts.items = reader.ReadCount(kWhatItems);
  counts.records = reader.ReadCount(kWhatRecords);
  SkipHeaderValue(reader);
  counts.fields = reader.ReadCount(kWhatFields);
  return counts;
}

LdtCounts ReadLdtCounts(FieldReader& reader) {
  LdtCounts counts;
  SkipHeaderValue(reader);
  counts.tests = reader.ReadNumber(kWhatHeader) != 0.0;
  counts.samples = reader.ReadCount(kWhatRecords);
  if (!counts.tests) return counts;
  counts.testFields = reader.ReadCount(kWhatFields);
  counts.sampleFields = reader.ReadCount(kWhatFields);
  return counts;
}

}  // namespace ostra
