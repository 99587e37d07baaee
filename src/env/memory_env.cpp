#include "env/memory_env.h"

#include <algorithm>
#include <utility>

#include "base/sjis.h"
#include "env/path_keys.h"

namespace ostra {

namespace {

Text LastName(const Text& path) {
  const Text key = PathKey(path);
  const size_t slash = key.find_last_of(u'\\');
  const Text spelled = path.substr(0, std::min(path.size(), key.size()));
  return slash == Text::npos ? spelled : spelled.substr(slash + 1);
}

}  // namespace

class MemoryEnv::MemoryFile : public WritableFile {
 public:
  explicit MemoryFile(std::shared_ptr<std::string> bytes) : bytes_(std::move(bytes)) {}
  void Append(std::string_view bytes) override { bytes_->append(bytes); }
  void Sync() override {}
  void Close() override {}

 private:
  std::shared_ptr<std::string> bytes_;
};

class MemoryEnv::Lock : public HeldLock {
 public:
  Lock(std::set<Text>& locks, Text key) : locks_(locks), key_(std::move(key)) {}
  ~Lock() override { locks_.erase(key_); }

 private:
  std::set<Text>& locks_;
  Text key_;
};

void MemoryEnv::AddFolder(const Text& path) {
  const Text key = PathKey(path);
  if (key.empty()) return;
  if (key.size() > 2) AddFolder(ParentKey(key));
  Node& node = nodes_[key];
  if (node.kind == FileKind::kFolder) return;
  node = Node{path.substr(0, key.size()), FileKind::kFolder, nullptr, {}};
}

void MemoryEnv::SetFile(const Text& path, std::string bytes) {
  AddFolder(ParentKey(PathKey(path)));
  nodes_[PathKey(path)] =
      Node{path, FileKind::kFile, std::make_shared<std::string>(std::move(bytes)), {}};
}

void MemoryEnv::SetFacts(const Text& path, const FileFacts& facts) {
  Node* node = Find(path);
  if (node == nullptr) {
    AddFolder(ParentKey(PathKey(path)));
    node = &nodes_[PathKey(path)];
    *node = Node{path, FileKind::kNone, std::make_shared<std::string>(), {}};
  }
  node->kind = facts.kind;
  node->facts = facts;
  if (!node->bytes) node->bytes = std::make_shared<std::string>();
}

std::optional<std::string> MemoryEnv::File(const Text& path) {
  if (!FileExists(path)) return std::nullopt;
  return ReadFile(path);
}

std::vector<Text> MemoryEnv::WrittenFiles() const {
  std::vector<Text> files;
  for (const auto& [key, node] : nodes_) {
    if (node.kind == FileKind::kFile) files.push_back(node.spelled);
  }
  return files;
}

MemoryEnv::Node* MemoryEnv::Find(const Text& path) {
  auto it = nodes_.find(PathKey(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

FileKind MemoryEnv::KindOf(const Text& path) {
  if (const Node* node = Find(path)) return node->kind;
  return base_ != nullptr ? base_->KindOf(path) : FileKind::kNone;
}

bool MemoryEnv::IsSelectable(const Text& path) {
  if (const Node* node = Find(path)) return node->kind == FileKind::kFile;
  return base_ != nullptr && base_->IsSelectable(path);
}

std::int64_t MemoryEnv::FileSize(const Text& path) {
  if (const Node* node = Find(path)) {
    return node->kind == FileKind::kFile ? static_cast<std::int64_t>(node->bytes->size()) : -1;
  }
  return base_ != nullptr ? base_->FileSize(path) : -1;
}

FileFacts MemoryEnv::Inspect(const Text& path) {
  if (const Node* node = Find(path)) {
    FileFacts facts = node->facts;
    facts.kind = node->kind;
    if (facts.links == 0 && node->kind != FileKind::kNone) facts.links = 1;
    return facts;
  }
  if (base_ != nullptr) return base_->Inspect(path);
  return {};
}

std::vector<FolderEntry> MemoryEnv::ListFolder(const Text& path) {
  const Text folder = PathKey(path);
  std::vector<FolderEntry> entries;
  std::set<Text> seen;
  for (const auto& [key, node] : nodes_) {
    if (ParentKey(key) != folder) continue;
    seen.insert(key);
    if (node.kind != FileKind::kNone)
      entries.push_back({LastName(node.spelled), node.kind, node.facts.link});
  }
  if (base_ != nullptr) {
    for (FolderEntry& e : base_->ListFolder(path)) {
      if (seen.count(PathKey(folder + u"\\" + e.name)) == 0) entries.push_back(std::move(e));
    }
  }
  return entries;
}

std::string MemoryEnv::ReadFile(const Text& path) {
  if (const Node* node = Find(path)) {
    if (node->kind == FileKind::kFolder) {
      throw FileError(ErrorKind::kSystem, FileOp::kRead, FileError::kAccessError, path,
                      FileDetail::kFolder);
    }
    if (node->kind == FileKind::kNone) {
      throw FileError(ErrorKind::kSystem, FileOp::kOpen, FileError::kFileNotFound, path);
    }
    if (node->kind == FileKind::kOther) {
      throw FileError(ErrorKind::kSystem, FileOp::kRead, FileError::kAccessError, path,
                      FileDetail::kNotRegular);
    }
    return *node->bytes;
  }
  if (base_ != nullptr) return base_->ReadFile(path);
  throw FileError(ErrorKind::kSystem, FileOp::kOpen, FileError::kFileNotFound, path);
}

void MemoryEnv::RequireParent(const Text& path, int code, FileOp op) {
  const Text parent = ParentKey(PathKey(path));
  if (parent.empty() || KindOf(parent) != FileKind::kFolder) {
    throw FileError(ErrorKind::kSystem, op, code, path);
  }
}

MemoryEnv::Node& MemoryEnv::Writable(const Text& path, FileOp op) {
  if (KindOf(path) == FileKind::kFolder) {
    throw FileError(ErrorKind::kSystem, op, FileError::kAccessError, path);
  }
  Node* node = Find(path);
  if (node != nullptr && node->kind == FileKind::kFile) return *node;
  std::string bytes;
  if (node == nullptr && base_ != nullptr && base_->FileExists(path)) bytes = base_->ReadFile(path);
  Node& fresh = nodes_[PathKey(path)];
  fresh = Node{path, FileKind::kFile, std::make_shared<std::string>(std::move(bytes)), {}};
  return fresh;
}

std::unique_ptr<WritableFile> MemoryEnv::OpenWrite(const Text& path, WriteMode mode) {
  if (KindOf(path) == FileKind::kFolder) {
    throw FileError(ErrorKind::kSystem, FileOp::kCreate, FileError::kAccessError, path,
                    FileDetail::kFolderTaken);
  }
  if (mode == WriteMode::kCreateNew && PathExists(path)) {
    throw FileError(ErrorKind::kSystem, FileOp::kCreate, FileError::kAccessError, path,
                    FileDetail::kNameTaken);
  }
  if (mode != WriteMode::kAppend) {
    RequireParent(path, FileError::kPathNotFound, FileOp::kCreate);
    Node& node = nodes_[PathKey(path)];
    const Text spelled = node.kind == FileKind::kFile ? node.spelled : path;
    node = Node{spelled, FileKind::kFile, std::make_shared<std::string>(), {}};
    return std::make_unique<MemoryFile>(node.bytes);
  }
  RequireParent(path, FileError::kFileNotFound, FileOp::kOpen);
  return std::make_unique<MemoryFile>(Writable(path, FileOp::kOpen).bytes);
}

void MemoryEnv::Truncate(const Text& path, std::int64_t size) {
  if (!FileExists(path))
    throw FileError(ErrorKind::kSystem, FileOp::kWrite, FileError::kAccessError, path);
  Writable(path, FileOp::kWrite).bytes->resize(static_cast<size_t>(size));
}

void MemoryEnv::MakeFolder(const Text& path) {
  const FileKind kind = KindOf(path);
  if (kind == FileKind::kFolder) return;
  if (kind != FileKind::kNone)
    throw FileError(ErrorKind::kSystem, FileOp::kCreate, FileError::kAccessError, path);
  RequireParent(path, FileError::kFileNotFound, FileOp::kCreate);
  nodes_[PathKey(path)] = Node{path, FileKind::kFolder, nullptr, {}};
}

void MemoryEnv::RemoveFile(const Text& path) {
  const FileKind kind = KindOf(path);
  if (kind == FileKind::kNone) return;
  if (kind == FileKind::kFolder && !ListFolder(path).empty()) {
    throw FileError(ErrorKind::kSystem, FileOp::kRemove, FileError::kAccessError, path);
  }
  nodes_[PathKey(path)] = Node{path, FileKind::kNone, nullptr, {}};
}

void MemoryEnv::CopyFile(const Text& from, const Text& to) {
  if (!FileExists(from))
    throw FileError(ErrorKind::kSystem, FileOp::kCopy, FileError::kFileNotFound, from);
  std::string bytes = ReadFile(from);
  RequireParent(to, FileError::kFileNotFound, FileOp::kCreate);
  *Writable(to, FileOp::kCreate).bytes = std::move(bytes);
}

void MemoryEnv::ReplaceFile(const Text& from, const Text& to) {
  if (!FileExists(from))
    throw FileError(ErrorKind::kSystem, FileOp::kOpen, FileError::kFileNotFound, from);
  std::string bytes = ReadFile(from);
  *Writable(to, FileOp::kReplace).bytes = std::move(bytes);
  RemoveFile(from);
}

void MemoryEnv::SyncFolder(const Text& path) {
  if (KindOf(path) != FileKind::kFolder) {
    throw FileError(ErrorKind::kSystem, FileOp::kWrite, FileError::kPathNotFound, path);
  }
}

std::unique_ptr<HeldLock> MemoryEnv::TryLock(const Text& path) {
  RequireParent(path, FileError::kAccessError, FileOp::kOpen);
  if (!PathExists(path)) OpenWrite(path, WriteMode::kAppend)->Close();
  const Text key = PathKey(path);
  if (!locks_.insert(key).second) return nullptr;
  return std::make_unique<Lock>(locks_, key);
}

Text MemoryEnv::ProgramFolder() {
  if (!programFolder_.empty() || base_ == nullptr) return programFolder_;
  return base_->ProgramFolder();
}

}  // namespace ostra
