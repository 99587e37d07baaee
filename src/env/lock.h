// An exclusive lock that a lock file stands for, released when the object goes away (also when
// the process dies: the system drops the lock with the process). Deleting the lock file while
// the lock is held lets no one else in: on POSIX the lock is taken on the folder that holds
// the file (a folder that holds files cannot be deleted) and the file is only its visible
// sign; on Windows the file is held open without leave to delete it.
#pragma once

#include <filesystem>
#include <memory>

#include "base/codec.h"

namespace ostra {

class FileLock {
 public:
  FileLock() = default;
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  // Creates the lock file `host` when absent and tries once to take the lock exclusively,
  // through handles for reading (any user who may read the folder can lock it). Returns an
  // unlocked object when another holder has it. Throws FileError naming `path` when the file
  // cannot be opened or is not an ordinary file (a folder, a device, a pipe, a symbolic link:
  // it is never waited on nor followed).
  static FileLock TryAcquire(const std::filesystem::path& host, const Text& path);

  bool Held() const { return handle_ != kNone; }
  void Release();

 private:
#ifdef _WIN32
  using Handle = void*;
  static constexpr Handle kNone = nullptr;
#else
  using Handle = int;
  static constexpr Handle kNone = -1;
#endif
  Handle handle_ = kNone;
};

}  // namespace ostra
