// What every section converter shares: the run's state a section reads and writes, and the
// grammar pieces of the section headers (values that must be numbers, counts, field limits).
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "base/codec.h"
#include "base/drive_path.h"
#include "convert/output_file.h"
#include "convert/run_env.h"
#include "convert/title.h"
#include "env/files.h"
#include "formats/code_table.h"
#include "formats/section_file.h"

namespace ostra {

// The run's state as the section converters see it. Counters, the record buffer and the tables
// belong to the run and live for one run.
struct SectionRun {
  const RunEnv& env;
  DrivePath destination;  // the destination folder as checked
  RecordFields& fields;
  TitleItems& itemsA;
  TitleItems& itemsB;
  const CodeTable& l4Table;
  const CodeTable& l10Table;
  // Tells the report that the file `name` of the destination was written.
  std::function<void(const Text&)> noteOutput;

  Env& Files() const { return env.Files(); }
  // Path of the file `name` in the destination folder.
  Text Out(const Text& name) const { return destination.Join(name); }
  // Creates (truncates) an output file of the destination, its counter at 1, and notes it for
  // the report.
  OutputFile Create(const Text& name) const;
  // Notes `name` for the report when the converter made it.
  void NoteIfWritten(const Text& name) const;
};

// Names of values in messages about bad section data.
inline constexpr const char16_t* kWhatHeader = u"ヘッダー値";
inline constexpr const char16_t* kWhatItems = u"ヘッダー項目数";
inline constexpr const char16_t* kWhatRecords = u"レコード数";
inline constexpr const char16_t* kWhatFields = u"項目数";

// A header value that the conversion does not use; it must still be a number.
void SkipHeaderValue(FieldReader& reader);
// The six header values h1, R, F, h4, h5, h6 of the BDT and CDT sections: (R, F).
std::pair<Count, Count> ReadSixValueHeader(FieldReader& reader);
// The five header values h1, N, R, h4, F of the MDT section: N header items, R layer records
// of F fields.
struct MdtCounts {
  Count items;
  Count records;
  Count fields;
};
MdtCounts ReadMdtCounts(FieldReader& reader);
// The LDT section's opening: h1, then A and B (the samples' count), and only when A is not 0 the
// field counts of the tests and of the samples.
struct LdtCounts {
  bool tests = false;  // A is not 0: the rest of the section is read
  Count samples;
  Count testFields;
  Count sampleFields;
};
LdtCounts ReadLdtCounts(FieldReader& reader);
// The list of tests always holds 20 records, blank ones among them.
inline const Count kLdtTestRecords{20, Count::kFixed, u"試験データのレコード数"};

// Reads a block of `records` records of `fields` fields into the record buffer, handing each to
// `convert` with the block's output file `name` (its counter at 1). At most 40 fields fit the
// record buffer (FieldReader::BeginBlock checks, before anything is written).
template <typename Convert>
void ConvertBlock(const SectionRun& run, FieldReader& reader, const Text& name,
                  const Count& records, const Count& fields, Convert convert) {
  reader.BeginBlock(records, fields);
  OutputFile out = run.Create(name);
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(run.fields, fields);
    convert(out);
  }
  out.Close();
}

// The section converters, each from just after its header check to the end of its file.
void ConvertMdtSection(const SectionRun& run, FieldReader& reader);
void ConvertBdtSection(const SectionRun& run, FieldReader& reader);
void ConvertKdtSection(const SectionRun& run, FieldReader& reader);
void ConvertNdtSection(const SectionRun& run, FieldReader& reader);
void ConvertLdtSection(const SectionRun& run, FieldReader& reader);
void ConvertCdtSection(const SectionRun& run, FieldReader& reader);

// The sections in the order a run converts them: the name that replaces the first three
// characters of the MDT file's name, the fields its header check needs, and its converter.
struct SectionUnit {
  const char16_t* name;
  std::int16_t headerFields;
  void (*convert)(const SectionRun& run, FieldReader& reader);
};
inline constexpr SectionUnit kSectionUnits[] = {
    {u"MDT", 5, ConvertMdtSection}, {u"BDT", 6, ConvertBdtSection}, {u"KDT", 3, ConvertKdtSection},
    {u"NDT", 3, ConvertNdtSection}, {u"LDT", 3, ConvertLdtSection}, {u"CDT", 6, ConvertCdtSection}};

}  // namespace ostra
