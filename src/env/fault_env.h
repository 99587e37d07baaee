// An Env that fails one chosen operation, for tests of what a failure leaves behind. Every
// operation that can fail is counted (reads, opening a file for writing, each write, sync and
// close of it, truncating, making folders, removing, copying, replacing, syncing a folder, locking,
// and every query: existence, kind, size, facts, listing); the N-th one of the chosen kinds throws
// FileError naming its file, before it reaches the wrapped Env.
#pragma once

#include <functional>

#include "env/env.h"

namespace ostra {

enum class FaultKind : unsigned {
  kRead = 1,
  kOpen = 2,
  kWrite = 4,   // Append, Sync and Close of a file being written
  kChange = 8,  // Truncate, MakeFolder, RemoveFile, CopyFile, ReplaceFile, SyncFolder
  kLock = 16,
  kQuery = 32,  // KindOf, IsSelectable, FileSize, ListFolder, Inspect
  kAll = 63,
};

class FaultEnv : public EnvWrapper {
 public:
  // failAt 0 never fails: the Env only counts.
  FaultEnv(Env& target, long failAt, FaultKind kinds = FaultKind::kAll)
      : EnvWrapper(target), failAt_(failAt), kinds_(static_cast<unsigned>(kinds)) {}

  // Operations of the chosen kinds so far.
  long Count() const { return count_; }
  // Whether the failure has been injected, and the file it named.
  bool Failed() const { return failed_; }
  const Text& FailedPath() const { return failedPath_; }

  FileKind KindOf(const Text& path) override;
  bool IsSelectable(const Text& path) override;
  std::int64_t FileSize(const Text& path) override;
  std::vector<FolderEntry> ListFolder(const Text& path) override;
  FileFacts Inspect(const Text& path) override;
  std::string ReadFile(const Text& path) override;
  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override;
  void Truncate(const Text& path, std::int64_t size) override;
  void MakeFolder(const Text& path) override;
  void RemoveFile(const Text& path) override;
  void CopyFile(const Text& from, const Text& to) override;
  void ReplaceFile(const Text& from, const Text& to) override;
  void SyncFolder(const Text& path) override;
  std::unique_ptr<HeldLock> TryLock(const Text& path) override;

  // Counts one operation on `path`; throws when it is the one to fail.
  void Step(FaultKind kind, const Text& path);
  // Called at the moment of the failure, before the operation: a test of a killed process
  // takes the files as they stand here.
  void AtFailure(std::function<void()> hook) { atFailure_ = std::move(hook); }

 private:
  class File;
  long failAt_;
  unsigned kinds_;
  long count_ = 0;
  bool failed_ = false;
  Text failedPath_;
  std::function<void()> atFailure_;
};

// An Env whose disk fills up: writes go through until `budget` bytes have been written in all,
// then the write that does not fit puts down the bytes that still fit and fails as a full disk
// does, naming its file; every later write fails at once.
class DiskFullEnv : public EnvWrapper {
 public:
  DiskFullEnv(Env& target, long long budget) : EnvWrapper(target), left_(budget) {}

  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override;
  bool Full() const { return full_; }
  // Takes up to `size` bytes of the budget: how many fit.
  size_t Take(size_t size);

 private:
  class File;
  long long left_;
  bool full_ = false;
};

}  // namespace ostra
