// The reference tables that the strata converters search and extend (KISHITU.TXT, XKISHITU.TXT,
// L13.TXT to L17.TXT), each read once and kept in memory by the ReferenceFolder, which alone
// writes them. Every change goes to the file first and then into the copy in the same call, so
// a lookup gives what reading the file again would give.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "base/codec.h"
#include "formats/section_file.h"

namespace ostra {
class ReferenceFolder;
}

namespace ostra::strata {

// One dictionary entry: code, name and four attributes that are only copied.
using Entry = std::array<Text, 6>;

// A soil-name dictionary.
class Dictionary {
 public:
  Dictionary(Env& env, const Text& path);

  // The exact match of `name`: the first entry, in file order, of the first of the three code
  // ranges that has one, whose name cut at "（" (or whose whole name) equals `name`. Its name
  // comes back as `name`.
  std::optional<Entry> FindExact(const Text& name);
  // The file's whole lines.
  const std::vector<Text>& Lines() const { return lines_; }

 private:
  // Written only through the ReferenceFolder (see its AppendLine and InsertLine).
  friend class ostra::ReferenceFolder;
  // Appends one whole line to the file and takes it in.
  void AppendLine(const Text& line);
  // Writes the file anew as its first `keep` lines with `line` put in before line `at`, and
  // takes it in.
  void InsertLine(size_t keep, size_t at, const Text& line);
  void Load(const Text& content);
  // Takes `content` in as the file's whole text.
  void Take(const Text& content);
  void ReadEntries();
  // True when every line of the file holds exactly one whole entry, so that a line put in is
  // an entry put in at the same place.
  bool LinesAreEntries();
  std::optional<Entry> EntryOfLine(const Text& line) const;

  Env& env_;
  Text path_;
  bool endTidy_ = false;  // this run has tidied or written the file's end
  std::vector<Text> lines_;
  std::unique_ptr<FieldReader> reader_;
  bool readerBehind_ = false;  // lines went in before the reader's position: entries_ is whole
  std::optional<bool> linesAreEntries_;
  std::vector<Entry> entries_;
  size_t indexed_ = 0;  // entries_[0, indexed_) are in the per-range indexes
  std::array<std::unordered_map<Text, size_t>, 3> firstByName_;
};

// A class table: code, name (L17.TXT: code, an unused field, name).
class ClassTable {
 public:
  ClassTable(Env& env, const Text& path, bool hasSecondField);

  // The code as read of the last line whose name, widened, equals `wideName`.
  std::optional<Text> LastCode(const Text& wideName);
  // The highest code (0 for an empty table).
  int MaxCode();

 private:
  friend class ostra::ReferenceFolder;
  void AppendLine(const Text& line);
  void Load();
  void ReadRecords();

  Env& env_;
  Text path_;
  bool endTidy_ = false;  // this run has tidied or written the file's end
  bool hasSecondField_;
  std::unique_ptr<FieldReader> reader_;
  std::unordered_map<Text, Text> lastCode_;
  int max_ = 0;
};

}  // namespace ostra::strata
