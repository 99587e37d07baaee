#include "env/remembering_env.h"

#include <utility>

#include "base/sjis.h"

namespace ostra {

namespace {

using Memory = RememberingEnv::Memory;
using Known = RememberingEnv::Known;

bool IsSeparator(char16_t c) {
  return c == u'/' || c == u'\\';
}

// Where the last name of a path starts (after its last separator; 0 when it has none).
size_t NameStart(const Text& path) {
  const size_t slash = path.find_last_of(u"/\\");
  return slash == Text::npos ? 0 : slash + 1;
}

// The folder of a key: "" when it has none, "/" or "C:\" for a name in a root.
Text ParentOf(const Text& key) {
  const size_t slash = key.find_last_of(u"/\\");
  if (slash == Text::npos) return Text();
  if (slash == 0 || key[slash - 1] == u':') return key.substr(0, slash + 1);
  return key.substr(0, slash);
}

bool SameName(const Text& a, const Text& b) {
#ifdef _WIN32
  return UpperAscii(a) == UpperAscii(b);
#else
  return a == b;
#endif
}

// Notes in the folder's remembered entries (if any) that `name` is there as `kind`, or, for
// kNone, that it is not.
void NoteEntry(Memory& memory, const Text& key, const Text& name, FileKind kind) {
  auto it = memory.names.find(ParentOf(key));
  if (it == memory.names.end() || !it->second.list) return;
  std::vector<FolderEntry>& list = *it->second.list;
  std::erase_if(list, [&](const FolderEntry& e) { return SameName(e.name, name); });
  if (kind != FileKind::kNone) list.push_back({name, kind, false});
}

// Forgets a name and its folder's entries: after a change that failed part way, neither is
// known.
void Forget(Memory& memory, const Text& key) {
  memory.names.erase(key);
  memory.names.erase(ParentOf(key));
}

// A file written through the Env: what it hands on is added to the remembered bytes.
class RememberedFile : public WritableFile {
 public:
  RememberedFile(std::unique_ptr<WritableFile> file, std::shared_ptr<Memory> memory, Text key)
      : file_(std::move(file)), memory_(std::move(memory)), key_(std::move(key)) {}

  void Append(std::string_view bytes) override {
    Guarded([&] { file_->Append(bytes); });
    auto it = memory_->names.find(key_);
    if (it == memory_->names.end()) return;
    Known& known = it->second;
    if (known.bytes) known.bytes->append(bytes);
    if (known.size) *known.size += static_cast<std::int64_t>(bytes.size());
  }
  void Sync() override {
    Guarded([&] { file_->Sync(); });
  }
  void Close() override {
    Guarded([&] { file_->Close(); });
  }

 private:
  template <typename Op>
  void Guarded(Op op) {
    try {
      op();
    } catch (...) {
      Forget(*memory_, key_);
      throw;
    }
  }
  std::unique_ptr<WritableFile> file_;
  std::shared_ptr<Memory> memory_;
  Text key_;
};

}  // namespace

RememberingEnv::RememberingEnv(Env& target)
    : EnvWrapper(target), memory_(std::make_shared<Memory>()) {}

Text RememberingEnv::KeyOf(const Text& path) {
#ifdef _WIN32
  Text key = UpperAscii(path);
#else
  Text key = path;
#endif
  while (key.size() > 1 && IsSeparator(key.back()) && key[key.size() - 2] != u':') key.pop_back();
  return key;
}

RememberingEnv::Known& RememberingEnv::Look(const Text& path) {
  const FileFacts facts = target().Inspect(path);
  Known& known = Of(path);
  if (known.kind != facts.kind) known = Known{};
  known.kind = facts.kind;
  known.facts = facts;
  if (facts.kind != FileKind::kFile) {
    known.size = -1;
  } else if (!known.size && !known.bytes && facts.size >= 0) {
    known.size = facts.size;
  }
  return known;
}

std::optional<FileKind> RememberingEnv::KnownKind(const Text& path) {
  const Text key = KeyOf(path);
  if (auto it = memory_->names.find(key); it != memory_->names.end() && it->second.kind)
    return it->second.kind;
  auto folder = memory_->names.find(ParentOf(key));
  if (folder == memory_->names.end() || !folder->second.list) return std::nullopt;
  const Text name = path.substr(NameStart(path));
  for (const FolderEntry& e : *folder->second.list) {
    if (!SameName(e.name, name)) continue;
    // A link's entry tells where it leads only when it leads somewhere: ask.
    if (e.link) return std::nullopt;
    return e.kind;
  }
  return FileKind::kNone;
}

FileKind RememberingEnv::KindOf(const Text& path) {
  if (std::optional<FileKind> kind = KnownKind(path)) return *kind;
  return *Look(path).kind;
}

bool RememberingEnv::IsSelectable(const Text& path) {
  Known& known = Of(path);
  if (!known.facts) {
    if (std::optional<FileKind> kind = KnownKind(path); kind && *kind != FileKind::kFile)
      return false;
    Look(path);
  }
  const Known& now = Of(path);
  return now.facts->kind == FileKind::kFile && !now.facts->hidden;
}

std::int64_t RememberingEnv::FileSize(const Text& path) {
  {
    const Known& known = Of(path);
    if (known.bytes) return static_cast<std::int64_t>(known.bytes->size());
    if (known.size) return *known.size;
  }
  if (std::optional<FileKind> kind = KnownKind(path); kind && *kind != FileKind::kFile) return -1;
  Known& known = Look(path);
  if (known.size) return *known.size;
  const std::int64_t size = target().FileSize(path);
  Of(path).size = size;
  return size;
}

std::vector<FolderEntry> RememberingEnv::ListFolder(const Text& path) {
  if (const Known& known = Of(path); known.list) return *known.list;
  std::vector<FolderEntry> list = target().ListFolder(path);
  Of(path).list = list;
  return list;
}

FileFacts RememberingEnv::Inspect(const Text& path) {
  if (const Known& known = Of(path); known.facts) return *known.facts;
  return *Look(path).facts;
}

std::string RememberingEnv::ReadFile(const Text& path) {
  if (const Known& known = Of(path); known.bytes) return *known.bytes;
  std::string bytes = target().ReadFile(path);
  Known& known = Of(path);
  known.kind = FileKind::kFile;
  known.size = static_cast<std::int64_t>(bytes.size());
  known.bytes = bytes;
  return bytes;
}

std::unique_ptr<WritableFile> RememberingEnv::OpenWrite(const Text& path, WriteMode mode) {
  const Text key = KeyOf(path);
  const std::optional<FileKind> before = KnownKind(path);
  std::unique_ptr<WritableFile> file;
  try {
    file = target().OpenWrite(path, mode);
  } catch (...) {
    Forget(*memory_, key);
    throw;
  }
  Known& known = memory_->names[key];
  if (mode != WriteMode::kAppend || before == FileKind::kNone) {
    known = Known{FileKind::kFile, std::nullopt, 0, std::string(), std::nullopt};
  } else {
    known.kind = FileKind::kFile;
    known.facts.reset();
    known.list.reset();
    if (!known.bytes) known.size.reset();
  }
  NoteEntry(*memory_, key, path.substr(NameStart(path)), FileKind::kFile);
  return std::make_unique<RememberedFile>(std::move(file), memory_, key);
}

void RememberingEnv::Truncate(const Text& path, std::int64_t size) {
  const Text key = KeyOf(path);
  try {
    target().Truncate(path, size);
  } catch (...) {
    Forget(*memory_, key);
    throw;
  }
  Known& known = memory_->names[key];
  known.facts.reset();
  known.size = size;
  if (known.bytes && static_cast<std::int64_t>(known.bytes->size()) >= size) {
    known.bytes->resize(static_cast<size_t>(size));
  } else {
    known.bytes.reset();
  }
}

void RememberingEnv::MakeFolder(const Text& path) {
  const Text key = KeyOf(path);
  const std::optional<FileKind> before = KnownKind(path);
  try {
    target().MakeFolder(path);
  } catch (...) {
    Forget(*memory_, key);
    throw;
  }
  Known& known = memory_->names[key];
  // A folder made here is empty; one that was there already keeps what is known of it.
  if (before == FileKind::kNone) known = Known{};
  known.kind = FileKind::kFolder;
  known.facts.reset();
  known.size = -1;
  if (before == FileKind::kNone) known.list.emplace();
  NoteEntry(*memory_, key, path.substr(NameStart(path)), FileKind::kFolder);
}

void RememberingEnv::RemoveFile(const Text& path) {
  const Text key = KeyOf(path);
  try {
    target().RemoveFile(path);
  } catch (...) {
    Forget(*memory_, key);
    throw;
  }
  memory_->names[key] = Known{FileKind::kNone, std::nullopt, -1, std::nullopt, std::nullopt};
  NoteEntry(*memory_, key, path.substr(NameStart(path)), FileKind::kNone);
}

void RememberingEnv::CopyFile(const Text& from, const Text& to) {
  // Bytes known need not be read again: the copy is made as the target makes one, anew.
  if (const Known& source = Of(from); source.bytes) {
    const std::string bytes = *source.bytes;
    std::unique_ptr<WritableFile> file = OpenWrite(to, WriteMode::kCreate);
    file->Append(bytes);
    file->Close();
    return;
  }
  const Text key = KeyOf(to);
  try {
    target().CopyFile(from, to);
  } catch (...) {
    Forget(*memory_, key);
    throw;
  }
  std::optional<std::string> bytes = Of(from).bytes;
  Known& known = memory_->names[key];
  known = Known{};
  known.kind = FileKind::kFile;
  if (bytes) known.size = static_cast<std::int64_t>(bytes->size());
  known.bytes = std::move(bytes);
  NoteEntry(*memory_, key, to.substr(NameStart(to)), FileKind::kFile);
}

void RememberingEnv::ReplaceFile(const Text& from, const Text& to) {
  const Text fromKey = KeyOf(from);
  const Text toKey = KeyOf(to);
  try {
    target().ReplaceFile(from, to);
  } catch (...) {
    Forget(*memory_, fromKey);
    Forget(*memory_, toKey);
    throw;
  }
  if (fromKey == toKey) {
    memory_->names[toKey].facts.reset();
    return;
  }
  Known moved = std::move(memory_->names[fromKey]);
  moved.kind = FileKind::kFile;
  moved.facts.reset();  // it took the old file's permissions
  moved.list.reset();
  memory_->names[toKey] = std::move(moved);
  memory_->names[fromKey] = Known{FileKind::kNone, std::nullopt, -1, std::nullopt, std::nullopt};
  NoteEntry(*memory_, fromKey, from.substr(NameStart(from)), FileKind::kNone);
  NoteEntry(*memory_, toKey, to.substr(NameStart(to)), FileKind::kFile);
}

std::unique_ptr<HeldLock> RememberingEnv::TryLock(const Text& path) {
  const Text key = KeyOf(path);
  const std::optional<FileKind> before = KnownKind(path);
  std::unique_ptr<HeldLock> lock;
  try {
    lock = target().TryLock(path);
  } catch (...) {
    Forget(*memory_, key);
    throw;
  }
  // What another holder changed in the folder before this one got the lock is asked anew.
  if (lock != nullptr) {
    const Text folder = ParentOf(key);
    std::erase_if(memory_->names, [&](const auto& entry) {
      return entry.first != key && ParentOf(entry.first) == folder;
    });
    if (auto it = memory_->names.find(folder); it != memory_->names.end()) it->second.list.reset();
  }
  // The lock file is there now, made empty when it was not.
  if (before == FileKind::kNone) {
    memory_->names[key] = Known{FileKind::kFile, std::nullopt, 0, std::string(), std::nullopt};
    NoteEntry(*memory_, key, path.substr(NameStart(path)), FileKind::kFile);
  }
  return lock;
}

Text RememberingEnv::ProgramFolder() {
  if (!memory_->programFolder) memory_->programFolder = target().ProgramFolder();
  return *memory_->programFolder;
}

}  // namespace ostra
