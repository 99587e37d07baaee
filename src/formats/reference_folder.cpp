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

namespace {

// Why a table cannot be used as it stands; empty when it can.
Text TableProblem(const FileFacts& facts, bool written) {
  if (facts.kind == FileKind::kFolder || facts.kind == FileKind::kOther) {
    return u"は通常のファイルではありません（フォルダ、パイプ、デバイスなど）。変換できません。";
  }
  if (!written) return Text();
  if (facts.link) {
    return u"はシンボリックリンクです。他の場所の表と共有されていると、一つのコードが二つの"
           u"名前に付くおそれがあります。リンクを実際のファイルに置き換えてから変換してください。";
  }
  if (facts.kind == FileKind::kFile && facts.links > 1) {
    return u"には他の名前（ハードリンク）があります。他の場所の表と共有されていると、一つの"
           u"コードが二つの名前に付くおそれがあります。一つの名前だけのファイルにしてから変換してく"
           u"ださい。";
  }
  if (facts.kind == FileKind::kFile && facts.readOnly) {
    return u"は読み取り専用です。変換はこの表に書き加えることがあるため、書き込みを許可してから"
           u"変換してください。";
  }
  return Text();
}

}  // namespace

void ReferenceFolder::CheckFiles(std::span<const char16_t* const> read,
                                 std::span<const char16_t* const> written) {
  auto check = [&](const Text& name, bool writes) {
    // A table only read needs only its kind (which its folder's listing may have told).
    FileFacts facts;
    if (writes) {
      facts = env_.Inspect(PathOf(name));
    } else {
      facts.kind = env_.KindOf(PathOf(name));
    }
    const Text problem = TableProblem(facts, writes);
    if (!problem.empty()) {
      throw RunError(u"参照ファイル \"" + PathOf(name) + u"\" " + problem, PathOf(name),
                     ErrorKind::kReferenceFolder);
    }
  };
  for (const char16_t* name : written) check(name, true);
  for (const char16_t* name : read) check(name, false);
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

// What a table file holds now: its bytes, none when there is no such file.
std::optional<std::string> ReferenceFolder::BytesOf(const Text& name) {
  if (!env_.FileExists(PathOf(name))) return std::nullopt;
  return env_.ReadFile(PathOf(name));
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
