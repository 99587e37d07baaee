// An Env that counts what is asked of its target, by operation and by path: how often a run
// looks a name up (queries, folder listings, opens and the lock) and which files it reads and
// writes. For the benchmark and for the tests that keep those numbers down.
#pragma once

#include <map>
#include <set>
#include <string>

#include "env/env.h"

namespace ostra {

class CountingEnv : public EnvWrapper {
 public:
  using EnvWrapper::EnvWrapper;

  // Calls by operation name ("KindOf", "ReadFile", ...).
  const std::map<std::string, long>& Calls() const { return calls_; }
  // Calls that look a name up: every query, listing and open (reading, writing, copying,
  // locking) together.
  long Lookups() const;
  // The files read or written (opened, copied, locked), each once.
  const std::set<Text>& FilesTouched() const { return files_; }
  // Opens for reading and for writing of each file.
  const std::map<Text, long>& Reads() const { return reads_; }
  const std::map<Text, long>& Writes() const { return writes_; }
  void Reset();

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

 private:
  void Count(const char* op) { ++calls_[op]; }
  std::map<std::string, long> calls_;
  std::set<Text> files_;
  std::map<Text, long> reads_;
  std::map<Text, long> writes_;
};

}  // namespace ostra
