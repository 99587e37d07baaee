#include "formats/reference_folder.h"

#include <optional>

#include "base/errors.h"
#include "base/sjis.h"
#include "env/files.h"
#include "formats/table_append.h"

namespace ostra {

ReferenceFolder::Table& ReferenceFolder::Load(const Text& name) {
  return InRole(ErrorKind::kReferenceFolder, [&]() -> ReferenceFolder::Table& {
    auto [it, added] = tables_.try_emplace(UpperAscii(name));
    if (added) {
      it->second.exists = env_.FileExists(PathOf(name));
      if (it->second.exists) it->second.content = ReadTableText(env_, PathOf(name), false);
    }
    return it->second;
  });
}

bool ReferenceFolder::Exists(const Text& name) {
  return Load(name).exists;
}

const Text& ReferenceFolder::Content(const Text& name) {
  const Table& table = Load(name);
  if (!table.exists)
    throw ProblemError(Problem::kMissingTable, {}, PathOf(name), ErrorKind::kReferenceFolder);
  return table.content;
}

namespace {

// Why a table cannot be used as it stands; none when it can.
std::optional<Problem> TableProblem(const FileFacts& facts, bool written) {
  if (facts.kind == FileKind::kFolder || facts.kind == FileKind::kOther) {
    return Problem::kTableNotRegular;
  }
  if (!written) return std::nullopt;
  if (facts.link) return Problem::kTableIsLink;
  if (facts.kind == FileKind::kFile && facts.links > 1) return Problem::kTableHasOtherName;
  if (facts.kind == FileKind::kFile && facts.readOnly) return Problem::kTableReadOnly;
  return std::nullopt;
}

}  // namespace

void ReferenceFolder::CheckFiles(std::span<const char16_t* const> read,
                                 std::span<const char16_t* const> written) {
  return InRole(ErrorKind::kReferenceFolder, [&]() {
    auto check = [&](const Text& name, bool writes) {
      // A table only read needs only its kind (which its folder's listing may have told).
      FileFacts facts;
      if (writes) {
        facts = env_.Inspect(PathOf(name));
      } else {
        facts.kind = env_.KindOf(PathOf(name));
      }
      const std::optional<Problem> problem = TableProblem(facts, writes);
      if (problem) throw ProblemError(*problem, {}, PathOf(name), ErrorKind::kReferenceFolder);
    };
    for (const char16_t* name : written) check(name, true);
    for (const char16_t* name : read) check(name, false);
  });
}

void ReferenceFolder::CreateEmpty(const Text& name) {
  return InRole(ErrorKind::kReferenceFolder, [&]() {
    if (Exists(name)) return;
    TouchFile(env_, PathOf(name));
    env_.SyncFolder(folder_);  // the new table's name on the disk before entries refer to it
    tables_.erase(UpperAscii(name));
  });
}

const CodeTable& ReferenceFolder::Codes(const Text& name, size_t maxRows) {
  auto it = codes_.find(UpperAscii(name));
  if (it == codes_.end()) {
    FieldReader reader = Reader(name);
    it = codes_.emplace(UpperAscii(name), ReadCodeTable(reader, maxRows)).first;
  }
  return it->second;
}

strata::Dictionary& ReferenceFolder::DictionaryOf(const TableInfo& table) {
  auto& slot = dictionaries_[UpperAscii(table.name)];
  if (!slot) slot = std::make_unique<strata::Dictionary>(env_, PathOf(table.name));
  return *slot;
}

strata::ClassTable& ReferenceFolder::ClassTableOf(const TableInfo& table) {
  auto& slot = classTables_[UpperAscii(table.name)];
  if (!slot) {
    slot =
        std::make_unique<strata::ClassTable>(env_, PathOf(table.name), table.layout.nameField == 2);
  }
  return *slot;
}

void ReferenceFolder::AppendLine(const TableInfo& table, const Text& line) {
  if (table.layout.fields == kDictionaryLayout.fields) {
    DictionaryOf(table).AppendLine(line);
  } else {
    ClassTableOf(table).AppendLine(line);
  }
  // The whole text as read before is no longer the file's.
  tables_.erase(UpperAscii(table.name));
}

void ReferenceFolder::InsertLine(const TableInfo& table, size_t keep, size_t at, const Text& line) {
  DictionaryOf(table).InsertLine(keep, at, line);
  tables_.erase(UpperAscii(table.name));
}

// What a table file holds now: its bytes, none when there is no such file.
std::optional<std::string> ReferenceFolder::BytesOf(const Text& name) {
  return InRole(ErrorKind::kReferenceFolder, [&]() -> std::optional<std::string> {
    if (!env_.FileExists(PathOf(name))) return std::nullopt;
    return env_.ReadFile(PathOf(name));
  });
}

void ReferenceFolder::MarkCurrent() {
  noted_.clear();
  auto note = [&](const Text& name) { noted_[name] = BytesOf(name); };
  for (const auto& entry : tables_) note(entry.first);
  for (const auto& entry : codes_) note(entry.first);
  for (const auto& entry : dictionaries_) note(entry.first);
  for (const auto& entry : classTables_) note(entry.first);
}

void ReferenceFolder::DropIfChanged() {
  for (const auto& [name, bytes] : noted_) {
    // Byte for byte: a correction of the same size, saved within the same second, counts.
    if (BytesOf(name) != bytes) {
      Forget();
      return;
    }
  }
}

void ReferenceFolder::Forget() {
  tables_.clear();
  codes_.clear();
  dictionaries_.clear();
  classTables_.clear();
  noted_.clear();
}

}  // namespace ostra
