// An Env for tests of a power loss, in the manner of LevelDB's fault-injection Env. Over a
// MemoryEnv it keeps what the disk is certain to hold: a file's data as of its last Sync
// (ReplaceFile forces its source's data too) and a folder's entries as of its last SyncFolder.
// At a chosen operation the power goes: that operation and every later one fail, and Survivors
// gives the files as they are found when the machine starts again. Bytes appended since the
// file's last Sync are gone, a file made since its folder's last SyncFolder is gone, and a
// replacement or removal since then is undone.
#pragma once

#include <map>

#include "env/env.h"
#include "env/memory_env.h"

namespace ostra {

class PowerLossEnv : public EnvWrapper {
 public:
  // The files of `target` as they stand are on the disk. Operations are counted from 1:
  // OpenWrite, each Append, Sync and Close of a file, Truncate, MakeFolder, RemoveFile,
  // CopyFile, ReplaceFile, SyncFolder and TryLock; the power goes just before operation
  // `lossAt` (0: never, the Env only counts).
  PowerLossEnv(MemoryEnv& target, long lossAt);

  long Count() const { return count_; }
  bool Lost() const { return lost_; }
  // The file of the operation the power went at.
  const Text& LostAt() const { return lostAt_; }
  // Puts the files that survive into `disk`.
  void Survivors(MemoryEnv& disk) const;

  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override;
  void Truncate(const Text& path, std::int64_t size) override;
  void MakeFolder(const Text& path) override;
  void RemoveFile(const Text& path) override;
  void CopyFile(const Text& from, const Text& to) override;
  void ReplaceFile(const Text& from, const Text& to) override;
  void SyncFolder(const Text& path) override;
  std::unique_ptr<HeldLock> TryLock(const Text& path) override;

 private:
  class File;
  struct Stored {
    Text spelled;
    std::string bytes;
  };
  // A file as it stands: its data as of its last Sync, and whether its folder's entry on the
  // disk is this file's (false for a file made or renamed here since the folder's last sync).
  struct Live {
    Text spelled;
    std::string synced;
    bool named = false;
  };

  // Counts one operation on `path`; throws when the power goes at it or went before.
  void Step(const Text& path);
  // The data written to `path` so far is on the disk.
  void DataSynced(const Text& path);
  void Created(const Text& path);

  MemoryEnv& memory_;
  long lossAt_;
  long count_ = 0;
  bool lost_ = false;
  Text lostAt_;
  std::map<Text, Stored> disk_;  // by folded path: what a start after a power loss finds
  std::map<Text, Live> live_;    // by folded path: the files as they stand
};

}  // namespace ostra
