// Writing host files: never through a symbolic link, only ordinary files.
#include <cerrno>
#include <utility>

#include "env/host_io.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "base/windows_api.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ostra::host {

namespace fs = std::filesystem;

namespace {

class HostFile : public WritableFile {
 public:
  HostFile(std::FILE* file, Text path) : file_(file), path_(std::move(path)) {}
  ~HostFile() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  void Append(std::string_view bytes) override {
    if (file_ == nullptr) throw Failed(0);
    // Handed to the system at once, so that nothing waits in this process's buffers.
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    ok = std::fflush(file_) == 0 && ok;
    if (!ok) throw Failed(errno);
  }
  void Sync() override {
    errno = 0;
    if (file_ == nullptr || !SyncStream(file_)) throw Failed(errno);
  }
  void Close() override {
    if (file_ == nullptr) return;
    errno = 0;
    const bool ok = std::fclose(std::exchange(file_, nullptr)) == 0;
    if (!ok) throw Failed(errno);
  }

 private:
  // A disk that is full says so; any other failure is an access error.
  FileError Failed(int err) const {
    const int code =
        CodeOfErrno(err) == FileError::kDiskFull ? FileError::kDiskFull : FileError::kAccessError;
    return FileError(ErrorKind::kSystem, FileOp::kWrite, code, path_, FileDetail::kNone, err);
  }
  std::FILE* file_;
  Text path_;
};

FileError CreateFailed(int code, const Text& path) {
  return FileError(ErrorKind::kSystem, FileOp::kCreate,
                   code == FileError::kFileNotFound ? FileError::kPathNotFound : code, path);
}

#ifdef _WIN32

// A stream on a file made anew, never through a link.
std::FILE* OpenNew(const fs::path& host, const Text& path) {
  HANDLE h = CreateFileW(host.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = GetLastError();
    throw CreateFailed(err == ERROR_ACCESS_DENIED    ? FileError::kPermissionDenied
                       : err == ERROR_PATH_NOT_FOUND ? FileError::kPathNotFound
                                                     : FileError::kAccessError,
                       path);
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_WRONLY);
  if (fd < 0) {
    CloseHandle(h);
    DeleteFileW(host.wstring().c_str());
    throw CreateFailed(FileError::kAccessError, path);
  }
  std::FILE* f = _fdopen(fd, "wb");
  if (f == nullptr) {
    _close(fd);
    DeleteFileW(host.wstring().c_str());  // made here: a failed create leaves nothing
    throw CreateFailed(FileError::kAccessError, path);
  }
  return f;
}

std::FILE* Open(const fs::path& host, const Text& path, WriteMode mode, const Stat& now) {
  if (mode == WriteMode::kAppend) {
    if (now.facts.link) {
      throw FileError(ErrorKind::kSystem, FileOp::kOpen, FileError::kAccessError, path,
                      FileDetail::kSymbolicLink);
    }
    std::FILE* f = OpenStream(host, "ab");
    if (f == nullptr)
      throw FileError(ErrorKind::kSystem, FileOp::kOpen, CodeOfErrno(errno), path,
                      FileDetail::kNone, errno);
    return f;
  }
  if (mode == WriteMode::kCreate && (now.facts.kind != FileKind::kNone || now.facts.link)) {
    if (!DeleteFileW(host.wstring().c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
      throw CreateFailed(CodeOfLastError(), path);
    }
  }
  return OpenNew(host, path);
}

#else

std::FILE* Open(const fs::path& host, const Text& path, WriteMode mode, const Stat&) {
  // Never through a link; not blocking, so that a pipe of that name cannot hold the run.
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  if (mode == WriteMode::kAppend) {
    flags |= O_APPEND;
  } else {
    flags |= O_EXCL;
  }
  if (mode == WriteMode::kCreate && ::unlink(host.c_str()) != 0 && errno != ENOENT &&
      errno != ENOTDIR) {
    throw CreateFailed(CodeOfErrno(errno), path);
  }
  const int fd = ::open(host.c_str(), flags, 0666);
  if (fd < 0) {
    const int err = errno;
    if (err == ELOOP && mode == WriteMode::kAppend) {
      throw FileError(ErrorKind::kSystem, FileOp::kOpen, FileError::kAccessError, path,
                      FileDetail::kSymbolicLink);
    }
    if (mode == WriteMode::kAppend)
      throw FileError(ErrorKind::kSystem, FileOp::kOpen, CodeOfErrno(err), path, FileDetail::kNone,
                      err);
    throw CreateFailed(CodeOfErrno(err), path);
  }
  // A file made here and then given up is removed again: a failed create leaves nothing.
  const bool made = mode != WriteMode::kAppend;
  auto giveUp = [&](FileOp op, FileDetail detail = FileDetail::kNone) {
    ::close(fd);
    if (made) ::unlink(host.c_str());
    return FileError(ErrorKind::kSystem, op, FileError::kAccessError, path, detail);
  };
  // An exclusive create made a new ordinary file of one name; a file appended to is looked at.
  struct stat st {};
  if (!made && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    throw giveUp(FileOp::kOpen, FileDetail::kNotRegular);
  }
  // Appending to a file of several names would change the others too.
  if (!made && st.st_nlink > 1) throw giveUp(FileOp::kOpen, FileDetail::kOtherName);
  const int flagsNow = ::fcntl(fd, F_GETFL);
  if (flagsNow == -1 || ::fcntl(fd, F_SETFL, flagsNow & ~O_NONBLOCK) == -1) {
    throw giveUp(made ? FileOp::kCreate : FileOp::kOpen);
  }
  std::FILE* f = ::fdopen(fd, mode == WriteMode::kAppend ? "ab" : "wb");
  if (f == nullptr) throw giveUp(made ? FileOp::kCreate : FileOp::kOpen);
  // Every Append is handed to the system at once: no buffer of the stream's own.
  std::setvbuf(f, nullptr, _IONBF, 0);
  return f;
}

#endif

}  // namespace

namespace {

void RefuseFolder(const Stat& now, const Text& path) {
  if (now.facts.kind == FileKind::kFolder && !now.facts.link) {
    throw FileError(ErrorKind::kSystem, FileOp::kCreate, FileError::kAccessError, path,
                    FileDetail::kFolderTaken);
  }
}

}  // namespace

std::unique_ptr<WritableFile> OpenForWrite(const fs::path& host, const Text& path, WriteMode mode) {
#ifdef _WIN32
  const Stat now = StatOf(host, path);
  RefuseFolder(now, path);
  return std::make_unique<HostFile>(Open(host, path, mode, now), path);
#else
  // A folder of that name refuses the unlink and the open: the name is looked at only then,
  // to say so.
  try {
    return std::make_unique<HostFile>(Open(host, path, mode, Stat()), path);
  } catch (const FileError&) {
    RefuseFolder(StatOf(host, path), path);
    throw;
  }
#endif
}

void CutTo(const fs::path& host, const Text& path, std::int64_t size) {
#ifdef _WIN32
  std::error_code ec;
  if (StatOf(host, path).facts.link) ec = std::make_error_code(std::errc::operation_not_permitted);
  if (!ec) fs::resize_file(host, static_cast<std::uintmax_t>(size), ec);
  if (ec) throw FileError(ErrorKind::kSystem, FileOp::kWrite, FileError::kAccessError, path);
#else
  const int fd = ::open(host.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  const bool ok = fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
                  ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  if (fd >= 0) ::close(fd);
  if (!ok) throw FileError(ErrorKind::kSystem, FileOp::kWrite, FileError::kAccessError, path);
#endif
}

}  // namespace ostra::host
