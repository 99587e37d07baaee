#include "env/counting_env.h"

namespace ostra {

long CountingEnv::Lookups() const {
  long n = 0;
  for (const char* op : {"KindOf", "IsSelectable", "FileSize", "ListFolder", "Inspect", "ReadFile",
                         "OpenWrite", "CopyFile", "TryLock"}) {
    if (auto it = calls_.find(op); it != calls_.end()) n += it->second;
  }
  return n;
}

void CountingEnv::Reset() {
  calls_.clear();
  files_.clear();
  reads_.clear();
  writes_.clear();
}

FileKind CountingEnv::KindOf(const Text& path) {
  Count("KindOf");
  return target().KindOf(path);
}

bool CountingEnv::IsSelectable(const Text& path) {
  Count("IsSelectable");
  return target().IsSelectable(path);
}

std::int64_t CountingEnv::FileSize(const Text& path) {
  Count("FileSize");
  return target().FileSize(path);
}

std::vector<FolderEntry> CountingEnv::ListFolder(const Text& path) {
  Count("ListFolder");
  return target().ListFolder(path);
}

FileFacts CountingEnv::Inspect(const Text& path) {
  Count("Inspect");
  return target().Inspect(path);
}

std::string CountingEnv::ReadFile(const Text& path) {
  Count("ReadFile");
  files_.insert(path);
  ++reads_[path];
  return target().ReadFile(path);
}

std::unique_ptr<WritableFile> CountingEnv::OpenWrite(const Text& path, WriteMode mode) {
  Count("OpenWrite");
  files_.insert(path);
  ++writes_[path];
  return target().OpenWrite(path, mode);
}

void CountingEnv::Truncate(const Text& path, std::int64_t size) {
  Count("Truncate");
  target().Truncate(path, size);
}

void CountingEnv::MakeFolder(const Text& path) {
  Count("MakeFolder");
  target().MakeFolder(path);
}

void CountingEnv::RemoveFile(const Text& path) {
  Count("RemoveFile");
  target().RemoveFile(path);
}

void CountingEnv::CopyFile(const Text& from, const Text& to) {
  Count("CopyFile");
  files_.insert(from);
  files_.insert(to);
  ++reads_[from];
  ++writes_[to];
  target().CopyFile(from, to);
}

void CountingEnv::ReplaceFile(const Text& from, const Text& to) {
  Count("ReplaceFile");
  files_.insert(to);
  target().ReplaceFile(from, to);
}

void CountingEnv::SyncFolder(const Text& path) {
  Count("SyncFolder");
  target().SyncFolder(path);
}

std::unique_ptr<HeldLock> CountingEnv::TryLock(const Text& path) {
  Count("TryLock");
  files_.insert(path);
  return target().TryLock(path);
}

}  // namespace ostra
