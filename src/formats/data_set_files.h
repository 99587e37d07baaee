// The files of a data set and their texts: a legacy data set's MDT file and its siblings, or a
// boring exchange XML file read as the same six sections.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "base/codec.h"
#include "env/env.h"
#include "formats/bed_data_set.h"
#include "formats/data_set_encoding.h"

namespace ostra {

// The sibling section file: the source path with the first three characters of its file name
// replaced by `section` ("BDT", ...).
Text SectionFileName(const Text& sourcePath, const Text& sourceFileName, const Text& section);

// The files of the data set whose MDT file is `sourcePath`: that file, then its siblings in
// section order, whether they exist or not; only the file itself for a boring exchange XML file.
std::vector<Text> DataSetFiles(const Text& sourcePath);

// The six sections of a data set, in the order of kLegacySections.
struct DataSetSections {
  std::array<std::optional<Text>, 6> texts;  // nothing for a section the data set lacks
  std::array<Text, 6> files;                 // the file each comes from, for messages
  std::optional<BedDataSet> bed;             // the XML as read, for a boring exchange source
};

// Reads every section of the data set whose MDT or XML file is `source`, in one encoding for
// all (decided as the run decides it). A missing or empty sibling is a missing section. Throws
// what DecideDataSetEncoding and ReadBedDataSet throw, and FileError when a file cannot be read.
DataSetSections ReadDataSetSections(Env& env, const Text& source, DataEncoding choice);

}  // namespace ostra
