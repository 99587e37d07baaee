#include "env/lock.h"

#include <cerrno>
#include <utility>

#include "base/errors.h"

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace ostra {

FileLock::FileLock(FileLock&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = std::exchange(other.handle_, kNone);
  }
  return *this;
}

FileLock::~FileLock() {
  Release();
}

FileLock FileLock::TryAcquire(const std::filesystem::path& host, const Text& path) {
  FileLock lock;
#ifdef _WIN32
  HANDLE h = CreateFileW(host.wstring().c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    throw MakeFileError(FileError::kAccessError, path, u"開けません");
  }
  OVERLAPPED ov{};
  if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
    CloseHandle(h);
    return lock;
  }
  lock.handle_ = h;
#else
  // Locked through a descriptor for reading: a lock file another user created (and so owns)
  // serves every user who may read the folder.
  int fd = ::open(host.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) {
    throw MakeFileError(
        errno == EACCES || errno == EROFS ? FileError::kPermissionDenied : FileError::kAccessError,
        path, u"開けません");
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return lock;
  }
  lock.handle_ = fd;
#endif
  return lock;
}

void FileLock::Release() {
  if (handle_ == kNone) return;
#ifdef _WIN32
  OVERLAPPED ov{};
  UnlockFileEx(handle_, 0, 1, 0, &ov);
  CloseHandle(handle_);
#else
  flock(handle_, LOCK_UN);
  ::close(handle_);
#endif
  handle_ = kNone;
}

}  // namespace ostra
