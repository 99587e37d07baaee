// Checks on a reference folder shared by the bad-input, crash and concurrency tests, and the
// figures those tests leave for the reliability report.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
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

// The messages of stopped runs with the line and record they name, for the reliability report:
// lines "section<TAB>change<TAB>line<TAB>record<TAB>message" in the build's reliability folder.
class MessageList {
 public:
  explicit MessageList(std::string file) : file_(std::move(file)) {}
  // `message` as the command line printed it; line and record are taken from its text (the
  // first "N 行目" and "レコード N 件目（全 M 件）"), "-" when it names none.
  void Add(const std::string& section, const std::string& change, std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
      message.pop_back();
    }
    for (char& c : message) {
      if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    }
    std::smatch m;
    std::string line = "-";
    std::string record = "-";
    if (std::regex_search(message, m, std::regex("([0-9]+) 行目"))) line = m[1];
    if (std::regex_search(message, m, std::regex("レコード ([0-9]+) 件目（全 ([0-9]+) 件）"))) {
      record = std::string(m[1]) + " / " + std::string(m[2]);
    }
    std::string printable;
    for (char c : change) {
      if (c != '\r' && c != '\n') printable += c == '\t' ? ' ' : c;
    }
    lines_.push_back(section + "\t" + printable + "\t" + line + "\t" + record + "\t" + message);
  }
  void Write() const {
    const fs::path folder = fs::path(OSTRA_CLI_PATH).parent_path() / "reliability";
    fs::create_directories(folder);
    std::ofstream out(folder / file_, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines_) out << line << "\n";
  }

 private:
  std::string file_;
  std::vector<std::string> lines_;
};

}  // namespace ostra::test
