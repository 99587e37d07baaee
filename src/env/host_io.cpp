#include "env/host_io.h"

#include <cerrno>

#include "env/host_env.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "base/windows_api.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ostra::host {

namespace fs = std::filesystem;

int CodeOfErrno(int err) {
  switch (err) {
    case ENOENT:
      return FileError::kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return FileError::kPermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return FileError::kDiskFull;
    default:
      return FileError::kAccessError;
  }
}

int CodeOf(const std::error_code& ec) {
  if (ec == std::errc::no_such_file_or_directory) return FileError::kFileNotFound;
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
      ec == std::errc::read_only_file_system) {
    return FileError::kPermissionDenied;
  }
  return FileError::kAccessError;
}

bool NotThere(const std::error_code& ec) {
  return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
}

namespace {

// The kind the listing itself told; only a link (or an entry of a file system whose listings
// tell no kinds) is asked after.
FileKind KindOfEntry(const fs::directory_entry& e, const Text& path) {
  std::error_code ec;
  const bool file = e.is_regular_file(ec);
  const bool folder = !ec && !file && e.is_directory(ec);
  // A link that leads nowhere is neither a file nor a folder.
  if (ec && !NotThere(ec))
    throw FileError(ErrorKind::kSystem, FileOp::kQuery, CodeOf(ec), path, FileDetail::kNone,
                    ec.value());
  if (ec) return FileKind::kOther;
  return file ? FileKind::kFile : folder ? FileKind::kFolder : FileKind::kOther;
}

}  // namespace

std::vector<FolderEntry> ListOf(const fs::path& host, const Text& path) {
  std::vector<FolderEntry> entries;
  std::error_code ec;
  fs::directory_iterator it(host, ec);
  if (ec && NotThere(ec)) return entries;
  if (ec)
    throw FileError(ErrorKind::kSystem, FileOp::kList, CodeOf(ec), path, FileDetail::kNone,
                    ec.value());
  const fs::directory_iterator end;
  while (!ec && it != end) {
    FolderEntry entry;
    entry.name = HostText(it->path().filename());
    std::error_code ec2;
    entry.link = it->is_symlink(ec2);
    if (ec2)
      throw FileError(ErrorKind::kSystem, FileOp::kQuery, CodeOf(ec2), HostText(it->path()),
                      FileDetail::kNone, ec2.value());
    entry.kind = KindOfEntry(*it, HostText(it->path()));
    entries.push_back(std::move(entry));
    it.increment(ec);
  }
  if (ec) {
    throw FileError(ErrorKind::kSystem, FileOp::kList, CodeOf(ec), path, FileDetail::kNone,
                    ec.value());
  }
  return entries;
}

std::FILE* OpenStream(const fs::path& host, const char* mode) {
#ifdef _WIN32
  std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(host.wstring().c_str(), wmode.c_str());
#else
  return std::fopen(host.c_str(), mode);
#endif
}

bool SyncStream(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

#ifdef _WIN32

int CodeOfLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileError::kFileNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileError::kPermissionDenied;
    default:
      return FileError::kAccessError;
  }
}

namespace {

// A name that leads to nothing: no such file or folder, no such drive or share, a drive
// without its medium, a name the system cannot have.
bool NotThereError(DWORD e) {
  return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_INVALID_NAME ||
         e == ERROR_INVALID_DRIVE || e == ERROR_NOT_READY || e == ERROR_BAD_NETPATH ||
         e == ERROR_BAD_NET_NAME || e == ERROR_BAD_PATHNAME;
}

}  // namespace

Stat StatOf(const fs::path& host, const Text& path) {
  const std::wstring w = host.wstring();
  Stat s;
  WIN32_FILE_ATTRIBUTE_DATA own;
  if (!GetFileAttributesExW(w.c_str(), GetFileExInfoStandard, &own)) {
    if (NotThereError(GetLastError())) return s;
    throw FileError(ErrorKind::kSystem, FileOp::kQuery, CodeOfLastError(), path, FileDetail::kNone,
                    static_cast<int>(GetLastError()));
  }
  s.facts.link = (own.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  s.hidden = (own.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
  // What the name leads to: opened for its facts only, which no sharing mode refuses.
  HANDLE h = CreateFileW(w.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (s.facts.link && NotThereError(GetLastError())) return s;
    throw FileError(ErrorKind::kSystem, FileOp::kQuery, CodeOfLastError(), path, FileDetail::kNone,
                    static_cast<int>(GetLastError()));
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  const DWORD err = GetLastError();
  const DWORD type = GetFileType(h);
  CloseHandle(h);
  if (!ok) {
    SetLastError(err);
    throw FileError(ErrorKind::kSystem, FileOp::kQuery, CodeOfLastError(), path, FileDetail::kNone,
                    static_cast<int>(GetLastError()));
  }
  const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  s.facts.kind = folder                   ? FileKind::kFolder
                 : type == FILE_TYPE_DISK ? FileKind::kFile
                                          : FileKind::kOther;
  s.facts.links = static_cast<long>(info.nNumberOfLinks);
  s.facts.readOnly = !folder && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  s.size = (static_cast<std::int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return s;
}

std::string ReadAll(const fs::path& host, const Text& path) {
  const Stat s = StatOf(host, path);
  if (s.facts.kind == FileKind::kFolder) {
    throw FileError(ErrorKind::kSystem, FileOp::kRead, FileError::kAccessError, path,
                    FileDetail::kFolder);
  }
  if (s.facts.kind == FileKind::kOther) {
    throw FileError(ErrorKind::kSystem, FileOp::kRead, FileError::kAccessError, path,
                    FileDetail::kNotRegular);
  }
  std::FILE* f = OpenStream(host, "rb");
  if (f == nullptr)
    throw FileError(ErrorKind::kSystem, FileOp::kOpen, CodeOfErrno(errno), path, FileDetail::kNone,
                    errno);
  std::string data;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw FileError(ErrorKind::kSystem, FileOp::kRead, FileError::kAccessError, path);
  return data;
}

#else

Stat StatOf(const fs::path& host, const Text& path) {
  Stat s;
  struct stat st {};
  if (::lstat(host.c_str(), &st) != 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) return s;
    throw FileError(ErrorKind::kSystem, FileOp::kQuery, CodeOfErrno(err), path, FileDetail::kNone,
                    err);
  }
  if (S_ISLNK(st.st_mode)) {
    s.facts.link = true;
    if (::stat(host.c_str(), &st) != 0) {
      const int err = errno;
      if (err == ENOENT || err == ENOTDIR) return s;  // a link that leads nowhere
      throw FileError(ErrorKind::kSystem, FileOp::kQuery, CodeOfErrno(err), path, FileDetail::kNone,
                      err);
    }
  }
  s.facts.kind = S_ISREG(st.st_mode) ? FileKind::kFile
                 : S_ISDIR(st.st_mode) ? FileKind::kFolder
                                       : FileKind::kOther;
  s.facts.links = static_cast<long>(st.st_nlink);
  s.facts.readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  s.size = static_cast<std::int64_t>(st.st_size);
  return s;
}

std::string ReadAll(const fs::path& host, const Text& path) {
  // Not blocking: opening a pipe without a writer would wait for one.
  const int fd = ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    throw FileError(ErrorKind::kSystem, FileOp::kOpen, CodeOfErrno(errno), path, FileDetail::kNone,
                    errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool folder = S_ISDIR(st.st_mode);
    ::close(fd);
    throw FileError(ErrorKind::kSystem, FileOp::kRead, FileError::kAccessError, path,
                    folder ? FileDetail::kFolder : FileDetail::kNotRegular);
  }
  std::string data;
  char buf[65536];
  while (true) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      throw FileError(ErrorKind::kSystem, FileOp::kRead,
                      err == ENOENT ? FileError::kAccessError : CodeOfErrno(err), path,
                      FileDetail::kNone, err);
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return data;
}

#endif

}  // namespace ostra::host
