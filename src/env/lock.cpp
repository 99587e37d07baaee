#include "env/lock.h"

#include <cerrno>
#include <utility>

#include "base/errors.h"

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

namespace {

FileError NotAFile(const Text& path) {
  return FileError(ErrorKind::kSystem, FileOp::kLock, FileError::kAccessError, path,
                   FileDetail::kNotRegular);
}

}  // namespace

FileLock FileLock::TryAcquire(const std::filesystem::path& host, const Text& path) {
  FileLock lock;
#ifdef _WIN32
  // No FILE_SHARE_DELETE: the file cannot be deleted (nor renamed) while it is held open. A
  // symbolic link or junction is opened as itself and refused.
  HANDLE h =
      CreateFileW(host.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_SHARING_VIOLATION) return lock;  // a holder is deleting it
    throw FileError(ErrorKind::kSystem, FileOp::kLock, FileError::kAccessError, path,
                    FileDetail::kNone, static_cast<int>(GetLastError()));
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    CloseHandle(h);
    throw NotAFile(path);
  }
  OVERLAPPED ov{};
  if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
    CloseHandle(h);
    return lock;
  }
  lock.handle_ = h;
#else
  // The visible sign, made when absent. Opened without waiting (a pipe would wait for a
  // writer) and without following a link; anything but an ordinary file is refused.
  const int file =
      ::open(host.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
  if (file < 0) {
    if (errno == ELOOP || errno == EISDIR) throw NotAFile(path);
    const int err = errno;
    throw FileError(
        ErrorKind::kSystem, FileOp::kLock,
        err == EACCES || err == EROFS ? FileError::kPermissionDenied : FileError::kAccessError,
        path, FileDetail::kNone, err);
  }
  struct stat st {};
  const bool regular = ::fstat(file, &st) == 0 && S_ISREG(st.st_mode);
  ::close(file);
  if (!regular) throw NotAFile(path);
  // The lock itself is on the folder, through a descriptor for reading: every user who may
  // read the folder can take it, whoever created the folder or the file.
  const std::filesystem::path folder = host.has_parent_path() ? host.parent_path() : ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    throw FileError(ErrorKind::kSystem, FileOp::kLock,
                    err == EACCES ? FileError::kPermissionDenied : FileError::kAccessError, path,
                    FileDetail::kNone, err);
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
