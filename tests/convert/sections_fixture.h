// Shared set-up for the section converter tests: a temporary drive, records built from UTF-8
// texts and output files read back as UTF-8 lines.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/sections.h"
#include "env/files.h"
#include "formats/section_file.h"
#include "support/test_support.h"

namespace ostra::test {

// A record whose slots 1..n hold the given texts; higher slots stay empty.
inline RecordFields Record(const std::vector<std::string>& fields) {
  RecordFields rec;
  for (size_t i = 0; i < fields.size(); ++i) rec[i + 1] = U16(fields[i]);
  return rec;
}

// Splits a line at every comma (the tests' lines hold no quoted commas).
inline std::vector<std::string> SplitCommas(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char ch : line) {
    if (ch == ',') {
      fields.emplace_back();
    } else {
      fields.back().push_back(ch);
    }
  }
  return fields;
}

class SectionsTest : public ::testing::Test {
 protected:
  // Drive-form path of a file in the temporary folder.
  Text PathOf(const std::string& name) const { return drive_.Drive(name); }
  std::vector<std::string> Lines(const std::string& name) const {
    return ReadSjisLines(drive_.Host(name));
  }
  bool Exists(const std::string& name) const { return fs::exists(drive_.Host(name)); }

  TempDrive drive_;
};

}  // namespace ostra::test
