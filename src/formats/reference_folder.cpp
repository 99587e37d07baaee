#include "formats/reference_folder.h"

#include "base/errors.h"
#include "base/sjis.h"
#include "env/files.h"
#include "formats/table_append.h"

namespace ostra {

ReferenceFolder::Table& ReferenceFolder::Load(const Text& name) {
  auto [it, added] = tables_.try_emplace(UpperAscii(name));
  if (added) {
    it->second.exists = env_.FileExists(PathOf(name));
    if (it->second.exists) it->second.content = ReadTableText(env_, PathOf(name), false);
  }
  return it->second;
}

bool ReferenceFolder::Exists(const Text& name) {
  return Load(name).exists;
}

const Text& ReferenceFolder::Content(const Text& name) {
  const Table& table = Load(name);
  if (!table.exists)
    throw RunError(MsgMissingTable(PathOf(name)), PathOf(name), ErrorKind::kReferenceFolder);
  return table.content;
}

void ReferenceFolder::CreateEmpty(const Text& name) {
  if (Exists(name)) return;
  TouchFile(env_, PathOf(name));
  env_.SyncFolder(folder_);  // the new table's name on the disk before entries refer to it
  tables_.erase(UpperAscii(name));
}

const CodeTable& ReferenceFolder::Codes(const Text& name, size_t maxRows) {
  auto it = codes_.find(UpperAscii(name));
  if (it == codes_.end()) {
    FieldReader reader = Reader(name);
    it = codes_.emplace(UpperAscii(name), ReadCodeTable(reader, maxRows)).first;
  }
  return it->second;
}

strata::Dictionary& ReferenceFolder::DictionaryOf(const Text& name) {
  auto& slot = dictionaries_[UpperAscii(name)];
  if (!slot) slot = std::make_unique<strata::Dictionary>(env_, PathOf(name));
  return *slot;
}

strata::ClassTable& ReferenceFolder::ClassTableOf(const Text& name, bool hasSecondField) {
  auto& slot = classTables_[UpperAscii(name)];
  if (!slot) slot = std::make_unique<strata::ClassTable>(env_, PathOf(name), hasSecondField);
  return *slot;
}

void ReferenceFolder::MarkCurrent() {
  noted_.clear();
  auto note = [&](const Text& name) { noted_[name] = env_.FileSize(PathOf(name)); };
  for (const auto& entry : tables_) note(entry.first);
  for (const auto& entry : codes_) note(entry.first);
  for (const auto& entry : dictionaries_) note(entry.first);
  for (const auto& entry : classTables_) note(entry.first);
}

void ReferenceFolder::DropIfChanged() {
  for (const auto& [name, size] : noted_) {
    if (env_.FileSize(PathOf(name)) != size) {
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
