// Generator of large but valid boring-log data sets with their reference folders, for the
// benchmark and for tests that need realistic volumes.
//
// A generated set lives in one host folder:
//   GEO\MDT0001.GDF ... GEO\CDT0001.GDF   the six section files
//   PATDAT\                             a reference folder with every table the run reads
// All files are code page 932 with CR LF line ends. The same options always give the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace ostra::bench {

struct DataSetOptions {
  // Multiplies the record counts and the sizes of the soil-name dictionaries. Counts that the
  // formats fix or cap do not grow: the 20 records of the first LDT block, the 199 CDT records,
  // the class tables L13-L17 (codes stay below 100), L4.TXT (at most 50 rows) and L10.TXT (at
  // most 40 rows). The number of new names does not grow either (see below).
  int scale = 1;
  std::uint64_t seed = 1;
  // Soil names that neither dictionary knows; each one is registered once per conversion (one
  // rewrite of XKISHITU.TXT). Every new name occurs in two layers: the second finds it.
  int newSoilNames = 50;
  // Class names missing from L13.TXT-L17.TXT, spread evenly over the five tables.
  int newClassNames = 50;
  // Layers of the boring; 0: 2,000 per scale. The other sections follow the layers (one BDT,
  // NDT record and sample per layer, a water level and a fault per ten, a remark per four);
  // the dictionaries keep the size of the scale.
  int layers = 0;
  // Besides the legacy files, the same boring as GEO\BED0001.XML of this version ("3.00" or
  // "4.00"); empty: none.
  std::string bedVersion;
};

// The largest scale: beyond it the line counters of the outputs (signed 16 bits) would overflow.
inline constexpr int kMaxScale = 16;

// What one conversion of a freshly generated set yields.
struct DataSetFacts {
  // Output file name -> number of lines the conversion writes into it.
  std::map<std::string, long> outputLines;
  // Reference table name -> number of lines before and after one conversion.
  std::map<std::string, long> tableLinesBefore;
  std::map<std::string, long> tableLinesAfter;
  // Record counts of the generated sections, for the reports.
  std::map<std::string, long> records;
  // Output file name -> number of lines the conversion of BED0001.XML writes into it, for the
  // outputs whose source the XML holds (no CDT; no core recovery, RQD or fluid records).
  std::map<std::string, long> bedOutputLines;
};

// Writes the data set into `root` (GEO and PATDAT are created; files already there are
// replaced). Throws std::invalid_argument for options outside the limits and
// std::runtime_error when a file cannot be written.
DataSetFacts GenerateDataSet(const std::filesystem::path& root, const DataSetOptions& options);

// The facts as "key value" lines: "output X1.TXT 2000", "before KISHITU.TXT 10000",
// "after KISHITU.TXT 10070", "records MDT 2000", "bed-output X1.TXT 2000".
std::string FactsText(const DataSetFacts& facts);

}  // namespace ostra::bench
