// A boring exchange XML file read as the data set the converters take: the six section files'
// texts (MDT, BDT, KDT, NDT, LDT, CDT) in the legacy field syntax, made from what the XML holds.
// The run converts these texts exactly as it converts the files of a legacy data set, and
// `--write-gdf` writes them out as such files. docs/bed-mapping.md says which element fills
// which item or field.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/codec.h"
#include "env/env.h"
#include "formats/bed_xml.h"
#include "formats/data_set_encoding.h"

namespace ostra {

// True when `path` names a boring exchange XML file rather than a legacy MDT file: its
// extension is ".XML" in any letter case.
bool IsBedSource(std::u16string_view path);

// The legacy sections in the order the run converts them.
inline constexpr std::array<std::u16string_view, 6> kLegacySections = {u"MDT", u"BDT", u"KDT",
                                                                       u"NDT", u"LDT", u"CDT"};

struct BedDataSet {
  Text version;  // "3.00", as the file gives it
  XmlEncoding encoding = XmlEncoding::kCp932;
  EncodingBasis basis = EncodingBasis::kContent;
  // One text per section of kLegacySections, lines ending in CR LF; empty for a section the XML
  // holds nothing of (the run skips it as a missing file).
  std::array<Text, 6> sections;
  std::vector<Text> warnings;  // in Japanese, each a whole sentence, for the report
  int layerRecords = 0;        // layer records made
  int layerBoundaries = 0;     // the lower boundaries of all the XML's depth lists they came from
  std::vector<Text> unknownCodes;  // "風化 0 (12.50 m)" …, also among the warnings
  // Core values per interval of their own, which the legacy sections cannot carry (their record
  // ties core values to a day's drilling): for the picture. Each interval ends at `bottom` and
  // begins where the one before it ends (0 for the first); in document order.
  struct CoreInterval {
    Text bottom;
    Text value;
  };
  std::vector<CoreInterval> coreRecovery;  // コア採取率, %
  std::vector<CoreInterval> rqd;           // RQD, %
};

// Reads the XML file's bytes into a data set. Throws what ParseBedXml throws, and
// ProblemError(kNotBoringXml) when the root element is not ボーリング情報.
BedDataSet ReadBedDataSet(std::string_view bytes, const Text& path,
                          DataEncoding choice = DataEncoding::kAuto);

// The same from a file through an Env (FileError when it cannot be read).
BedDataSet ReadBedDataSet(Env& env, const Text& path, DataEncoding choice = DataEncoding::kAuto);

// The names the six files of the data set get when written out: the XML's name with its first
// three characters replaced and the extension .GDF (BED0001.XML gives MDT0001.GDF …); a name
// shorter than three characters gets the section name in front.
std::array<Text, 6> LegacyFileNames(std::u16string_view xmlFileName);

}  // namespace ostra
