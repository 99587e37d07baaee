// Checks on a reference folder shared by the bad-input, crash and concurrency tests, and the
// figures those tests leave for the reliability report.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/codec.h"
#include "formats/section_file.h"
#include "support/test_support.h"

namespace ostra::test {

// Every file of a folder (not the lock file) and its bytes.
inline std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name == "OSTRACONV.LCK" || !e.is_regular_file()) continue;
    files[name] = ReadBytes(e.path());
  }
  return files;
}

// Lines of a table that must consist of whole CR LF lines; a problem is described in `problem`.
inline std::vector<std::string> WholeLines(const std::string& bytes, std::string& problem) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find("\r\n", pos);
    if (end == std::string::npos) {
      problem = "ends inside a line";
      return lines;
    }
    lines.push_back(bytes.substr(pos, end - pos));
    if (lines.back().find_first_of("\r\n") != std::string::npos) problem = "holds a bare CR or LF";
    pos = end + 2;
  }
  return lines;
}

// The fields of one table line as the run reads them.
inline std::vector<std::string> LineFields(const std::string& line) {
  FieldReader reader(DecodeCp932(line), u"LINE");
  std::vector<std::string> fields;
  while (!reader.AtEnd()) fields.push_back(ToUtf8(reader.ReadText()));
  return fields;
}

// Fields per line of the tables a run extends.
inline const std::map<std::string, size_t>& ExtendedTables() {
  static const std::map<std::string, size_t> tables = {
      {"KISHITU.TXT", 6}, {"XKISHITU.TXT", 6}, {"L13.TXT", 2}, {"L14.TXT", 2},
      {"L15.TXT", 2},     {"L16.TXT", 2},      {"L17.TXT", 3}};
  return tables;
}

// The tables a run extends are present, made of whole lines, each with its number of fields.
inline ::testing::AssertionResult WellFormedTables(const fs::path& patdat) {
  for (const auto& [name, fieldCount] : ExtendedTables()) {
    if (!fs::exists(patdat / name)) return ::testing::AssertionFailure() << name << " is missing";
    std::string problem;
    const std::vector<std::string> lines = WholeLines(ReadBytes(patdat / name), problem);
    if (!problem.empty()) return ::testing::AssertionFailure() << name << " " << problem;
    for (const std::string& line : lines) {
      const size_t n = LineFields(line).size();
      if (n != fieldCount) {
        return ::testing::AssertionFailure()
               << name << ": a line of " << n << " fields: " << ToUtf8(DecodeCp932(line));
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Names (second field) of a table's lines, in file order.
inline std::vector<std::string> TableNames(const fs::path& table, size_t nameField = 1) {
  std::string problem;
  std::vector<std::string> names;
  for (const std::string& line : WholeLines(ReadBytes(table), problem)) {
    const std::vector<std::string> fields = LineFields(line);
    if (fields.size() > nameField) names.push_back(fields[nameField]);
  }
  return names;
}

// Writes "key value" lines for the reliability report into the build's reliability folder.
inline void RecordFigures(const std::string& file,
                          const std::vector<std::pair<std::string, std::string>>& figures) {
  const fs::path folder = fs::path(OSTRA_CLI_PATH).parent_path() / "reliability";
  fs::create_directories(folder);
  std::ofstream out(folder / file, std::ios::binary | std::ios::trunc);
  for (const auto& [key, value] : figures) out << key << " " << value << "\n";
}

}  // namespace ostra::test
