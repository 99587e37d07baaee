// The generated boring as a boring exchange XML file (BED0001.XML): the same layers, faults,
// drilling progress, water levels, remarks, penetration tests, in-situ tests and samples that the
// generator writes into the six legacy section files, in the element names of version 3.00 or
// 4.00, declared and written as Shift_JIS. The generator fills a BedContent while it writes the
// legacy files and hands it to WriteBedFile.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace ostra::bench {

// Texts in UTF-8, as the legacy records hold them.
struct BedContent {
  struct Layer {
    std::string depth;  // lower depth, "0.50"
    std::string name;
    std::string colour;
    // Rock grade, weathering, hardness, fractures, alteration (the names of L13.TXT-L17.TXT as
    // a record holds them, or a range "Ａ～Ｂ"), then the core shape.
    std::array<std::string, 6> classes;
  };
  struct Zone {
    std::string depth, kind, remark;  // kind empty: a zone without a kind
  };
  struct Progress {
    std::string depth, date;  // date "5/12"
  };
  struct Water {
    std::string level, date, state;
  };
  struct Remark {
    std::string depth, text;  // lines separated by "＠"
  };
  struct Penetration {
    std::string depth;
    std::array<std::string, 4> values;  // N, then the blows per 10 cm: "50/12", "3", ""
  };
  struct Interval {
    std::string from, to, kind;  // kind as the legacy record holds it: "透水試験]JIS"
  };
  std::string year = "1998";
  std::vector<Layer> layers;
  std::vector<Zone> zones;
  std::vector<Progress> progress;
  std::vector<Water> water;
  std::vector<Remark> remarks;
  std::vector<Penetration> penetration;
  std::vector<Interval> tests;
  std::vector<Interval> samples;
};

// The versions WriteBedFile writes.
bool IsBedVersion(const std::string& version);  // "3.00" or "4.00"

// Writes `content` as a boring exchange XML file of `version` ("3.00" or "4.00") in code page
// 932 with CR LF. Throws std::invalid_argument for another version and std::runtime_error when
// the file cannot be written.
void WriteBedFile(const std::filesystem::path& file, const BedContent& content,
                  const std::string& version);

}  // namespace ostra::bench
