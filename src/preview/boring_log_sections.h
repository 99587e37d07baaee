// The readers of the data set's sections for the picture: each reads its section as the run
// reads it (the same counts and blocks) and keeps what the log shows.
#pragma once

#include <optional>
#include <vector>

#include "base/codec.h"
#include "formats/bed_data_set.h"
#include "formats/section_file.h"
#include "preview/boring_log_model.h"

namespace ostra::picture {

void ReadMdt(FieldReader& reader, BoringLogModel& model);
void ReadBdt(FieldReader& reader, BoringLogModel& model);
void ReadKdt(FieldReader& reader, BoringLogModel& model);
void ReadNdt(FieldReader& reader, BoringLogModel& model);
void ReadLdt(FieldReader& reader, BoringLogModel& model);
// The core values of a boring exchange XML file, which its sections cannot carry.
void AddBedCores(const BedDataSet& bed, BoringLogModel& model);

// Shared by the readers.

// Without half-width and full-width blanks at both ends.
Text TrimBlanks(TextView text);
// A depth written as a number; nothing for any other text.
std::optional<double> DepthOf(const Text& text);
// A remark's lines: the text split at the line-break mark "＠", each without blanks at its ends,
// empty lines left out.
std::vector<Text> RemarkLines(const Text& text);
// The depth a remark's depth field gives: the number in it, wherever it stands ("GL-7.80 ) 補足"
// gives 7.80), with the text of that number.
std::optional<std::pair<double, Text>> DepthInText(const Text& text);

}  // namespace ostra::picture
