// The reference folder PATDAT: the one owner of its tables for the length of a run. Each table
// is read once, through the folder's Env, and kept; every change the run makes is written to
// the file first and then taken into the copy, so that a lookup always gives what reading the
// files anew would give.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/codec.h"
#include "env/env.h"
#include "formats/code_table.h"
#include "formats/reference_tables.h"
#include "formats/section_file.h"
#include "formats/table_registry.h"

namespace ostra {

class ReferenceFolder {
 public:
  // `folder` ends with "\".
  ReferenceFolder(Env& env, Text folder) : env_(env), folder_(std::move(folder)) {}
  ReferenceFolder(const ReferenceFolder&) = delete;
  ReferenceFolder& operator=(const ReferenceFolder&) = delete;

  Env& Files() const { return env_; }
  const Text& Folder() const { return folder_; }
  // Path of a table: the folder followed by the file name.
  Text PathOf(const Text& name) const { return folder_ + name; }

  bool Exists(const Text& name);
  // The whole table as read. Throws RunError naming the table when it does not exist.
  const Text& Content(const Text& name);
  // A reader over the table's content, its messages naming the table.
  FieldReader Reader(const Text& name) {
    return FieldReader(Content(name), PathOf(name), ErrorKind::kReferenceFolder);
  }
  // Stops the run (RunError naming the table and why) when a table it reads is there but is
  // not an ordinary file (a folder, a pipe, a device), or when a table it may write is a
  // symbolic link, has another name (a hard link) or was made read-only by its owner: written
  // through another name, two folders' tables would give one code to two names. Missing tables
  // pass. Called under the lock, before anything changes.
  void CheckFiles(std::span<const char16_t* const> read, std::span<const char16_t* const> written);
  // Creates an empty table when the folder holds none of that name.
  void CreateEmpty(const Text& name);

  // A code table of at most `maxRows` rows (see LoadCodeTable).
  const CodeTable& Codes(const Text& name, size_t maxRows);
  // A code table of the registry, as many rows as it allows.
  const CodeTable& Codes(const TableInfo& table) {
    return Codes(table.name, table.rowLimit > 0 ? table.rowLimit : SIZE_MAX);
  }
  // The soil-name dictionaries and the class tables the run extends, for lookups.
  strata::Dictionary& DictionaryOf(const TableInfo& table);
  strata::ClassTable& ClassTableOf(const TableInfo& table);

  // The only writers of the tables: each writes the file and takes the change into the copy in
  // the same call, so that the copy cannot drift from the file.
  // Registers a line: appends it to an extended table (a dictionary or a class table). A
  // hand-edited end is tidied first (see AppendTableLine); the line goes on whole or not at all.
  void AppendLine(const TableInfo& table, const Text& line);
  // Writes a dictionary anew as its first `keep` lines with `line` put in before line `at`
  // (`at` <= `keep`), through a temporary file put in its place (see WriteTableAnew).
  void InsertLine(const TableInfo& table, size_t keep, size_t at, const Text& line);

  // Kept between conversions (a batch), the tables read stay valid while no one else changes
  // the files: MarkCurrent notes the bytes of every table read so far (after this run's own
  // changes), and DropIfChanged, once the folder is locked again, forgets every table when one
  // of them no longer holds exactly those bytes, so that all are read anew. Forget drops them
  // at once.
  void MarkCurrent();
  void DropIfChanged();
  void Forget();

 private:
  struct Table {
    bool exists = false;
    Text content;
  };
  Table& Load(const Text& name);
  std::optional<std::string> BytesOf(const Text& name);

  Env& env_;
  Text folder_;
  std::map<Text, Table> tables_;  // by upper-case name
  std::map<Text, CodeTable> codes_;
  std::map<Text, std::unique_ptr<strata::Dictionary>> dictionaries_;
  std::map<Text, std::unique_ptr<strata::ClassTable>> classTables_;
  // The bytes of each table file by upper-case name, as MarkCurrent found them (none: no file).
  std::map<Text, std::optional<std::string>> noted_;
};

}  // namespace ostra
