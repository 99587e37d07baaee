// Every file operation of the converter goes through an Env: the system's files (posix_env,
// windows_env), drive-form paths mapped onto them (DriveMapEnv), files kept in memory
// (MemoryEnv, also over a read-only base for trial runs) and a fault-injecting wrapper for
// tests (FaultEnv). Paths are texts in the form the Env understands: host paths for the system
// Envs, drive-form paths ("D:\WORK\B-1") for the others.
//
// Queries (KindOf, IsSelectable, FileSize, ListFolder, Inspect) tell "not there" only when the
// system says so (no such file or folder); any other failure of a query throws FileError naming
// the path and the operation, as every other operation does when it fails.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"

namespace ostra {

// kOther: something that is neither an ordinary file nor a folder (a device, a socket).
enum class FileKind { kNone, kFile, kFolder, kOther };

struct FolderEntry {
  Text name;
  FileKind kind = FileKind::kNone;
  bool link = false;  // a symbolic link (followed for its kind)
};

// What a query learns of one name.
struct FileFacts {
  FileKind kind = FileKind::kNone;  // of what the name leads to (a link is followed)
  bool link = false;                // the name itself is a symbolic link (also a dangling one)
  long links = 0;                   // hard links to the file (its names), 0 when not there
  bool readOnly = false;            // its owner made it read-only (no write permission at all)
  std::int64_t size = -1;           // of an ordinary file; -1 when not told
  bool hidden = false;              // hidden or a system file (Windows): not selectable
};

// A file being written. Every call hands its bytes to the system; the data is complete once
// Close returns. Dropping an open file closes it without reporting.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual void Append(std::string_view bytes) = 0;
  // Forces what has been written so far to disk.
  virtual void Sync() = 0;
  virtual void Close() = 0;
};

// Held while a lock is held; the lock goes with the object (and with the process).
class HeldLock {
 public:
  virtual ~HeldLock() = default;
};

// kCreateNew makes a file that did not exist: it fails when anything of that name is there (a
// file, a folder, a symbolic link, which it never follows).
enum class WriteMode { kCreate, kAppend, kCreateNew };

class Env {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~Env() = default;

  virtual FileKind KindOf(const Text& path) = 0;
  // A file the user can have chosen: it exists and is neither hidden nor a system file.
  virtual bool IsSelectable(const Text& path) { return FileExists(path); }
  // Length in bytes; -1 when the path is not an ordinary file.
  virtual std::int64_t FileSize(const Text& path) = 0;
  // The entries of a folder, without "." and "..", in no particular order; none when there is
  // no such folder.
  virtual std::vector<FolderEntry> ListFolder(const Text& path) = 0;
  virtual FileFacts Inspect(const Text& path) = 0;

  // The whole file.
  virtual std::string ReadFile(const Text& path) = 0;
  // kCreate makes the file anew: whatever had the name (a file, a symbolic link) is removed
  // first, so that nothing is written through a link or to another name of a hard-linked file.
  // kAppend never follows a symbolic link. Only ordinary files are written.
  virtual std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) = 0;
  // Cuts a file down to `size` bytes.
  virtual void Truncate(const Text& path, std::int64_t size) = 0;
  virtual void MakeFolder(const Text& path) = 0;
  virtual void RemoveFile(const Text& path) = 0;
  // Copies a file, replacing the target.
  virtual void CopyFile(const Text& from, const Text& to) = 0;
  // Puts `from` in the place of `to` in one step, forcing `from` to disk first, so that `to`
  // is never missing or half written. The new name is on disk once SyncFolder of the folder
  // returns (a power loss before may still show the old `to`).
  virtual void ReplaceFile(const Text& from, const Text& to) = 0;
  // Forces a folder's entries (files created, removed or renamed in it) to disk.
  virtual void SyncFolder(const Text& path) = 0;

  // Creates the lock file when absent and tries once to lock the folder it is in exclusively:
  // nullptr when another holder has it. The lock does not go with the file: deleting the file
  // while the lock is held lets no second holder in. A lock file that is not an ordinary file
  // (a folder, a device, a pipe, a symbolic link) throws FileError naming it.
  virtual std::unique_ptr<HeldLock> TryLock(const Text& path) = 0;

  virtual Clock::time_point Now() { return Clock::now(); }
  // The date and time of day, for what is written down for the user to read.
  virtual std::chrono::system_clock::time_point WallClock() {
    return std::chrono::system_clock::now();
  }
  virtual void Sleep(std::chrono::milliseconds duration) = 0;

  // The folder of the running program, without a trailing separator ("" when unknown).
  virtual Text ProgramFolder() = 0;

  bool FileExists(const Text& path) { return KindOf(path) == FileKind::kFile; }
  bool FolderExists(const Text& path) { return KindOf(path) == FileKind::kFolder; }
  bool PathExists(const Text& path) { return KindOf(path) != FileKind::kNone; }
};

// An Env that passes every call on to another one; wrappers override what they change.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env& target) : target_(target) {}

  FileKind KindOf(const Text& path) override { return target_.KindOf(path); }
  bool IsSelectable(const Text& path) override { return target_.IsSelectable(path); }
  std::int64_t FileSize(const Text& path) override { return target_.FileSize(path); }
  std::vector<FolderEntry> ListFolder(const Text& path) override {
    return target_.ListFolder(path);
  }
  FileFacts Inspect(const Text& path) override { return target_.Inspect(path); }
  std::string ReadFile(const Text& path) override { return target_.ReadFile(path); }
  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override {
    return target_.OpenWrite(path, mode);
  }
  void Truncate(const Text& path, std::int64_t size) override { target_.Truncate(path, size); }
  void MakeFolder(const Text& path) override { target_.MakeFolder(path); }
  void RemoveFile(const Text& path) override { target_.RemoveFile(path); }
  void CopyFile(const Text& from, const Text& to) override { target_.CopyFile(from, to); }
  void ReplaceFile(const Text& from, const Text& to) override { target_.ReplaceFile(from, to); }
  void SyncFolder(const Text& path) override { target_.SyncFolder(path); }
  std::unique_ptr<HeldLock> TryLock(const Text& path) override { return target_.TryLock(path); }
  Clock::time_point Now() override { return target_.Now(); }
  std::chrono::system_clock::time_point WallClock() override { return target_.WallClock(); }
  void Sleep(std::chrono::milliseconds duration) override { target_.Sleep(duration); }
  Text ProgramFolder() override { return target_.ProgramFolder(); }

 protected:
  Env& target() { return target_; }

 private:
  Env& target_;
};

}  // namespace ostra
