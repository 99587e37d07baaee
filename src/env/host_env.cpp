#include "env/host_env.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <thread>
#include <utility>

#include "env/lock.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "base/windows_api.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ostra {

namespace fs = std::filesystem;

Text HostText(const fs::path& p) {
#ifdef _WIN32
  std::wstring w = p.wstring();
  return Text(w.begin(), w.end());
#else
  return FromUtf8(p.string());
#endif
}

fs::path HostPath(const Text& text) {
#ifdef _WIN32
  return fs::path(std::wstring(text.begin(), text.end()));
#else
  return fs::path(ToUtf8(text));
#endif
}

namespace {

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
#endif

std::FILE* OpenHost(const fs::path& host, const char* mode) {
#ifdef _WIN32
  std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(host.wstring().c_str(), wmode.c_str());
#else
  return std::fopen(host.c_str(), mode);
#endif
}

// A stream on a file made anew, never through a link; nullptr (errno set) when anything of
// that name exists.
std::FILE* OpenNew(const fs::path& host) {
#ifdef _WIN32
  HANDLE h = CreateFileW(host.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EEXIST;
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_WRONLY);
  if (fd < 0) {
    CloseHandle(h);
    return nullptr;
  }
  return _fdopen(fd, "wb");
#else
  const int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, "wb");
  if (f == nullptr) ::close(fd);
  return f;
#endif
}

// Forces a stream's data to disk.
bool SyncStream(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

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
    return MakeFileError(code, path_, u"書き込めません");
  }
  std::FILE* file_;
  Text path_;
};

class HostLock : public HeldLock {
 public:
  explicit HostLock(FileLock lock) : lock_(std::move(lock)) {}

 private:
  FileLock lock_;
};

class HostEnv : public Env {
 public:
  explicit HostEnv(const char* argv0) {
    std::error_code ec;
    if (argv0 != nullptr) programPath_ = fs::absolute(argv0, ec);
  }

  FileKind KindOf(const Text& path) override {
    std::error_code ec;
    const fs::file_status st = fs::status(HostPath(path), ec);
    if (fs::is_regular_file(st)) return FileKind::kFile;
    if (fs::is_directory(st)) return FileKind::kFolder;
    return fs::exists(st) ? FileKind::kOther : FileKind::kNone;
  }

  bool IsSelectable(const Text& path) override {
    std::error_code ec;
    if (!fs::is_regular_file(HostPath(path), ec)) return false;
#ifdef _WIN32
    DWORD attributes = GetFileAttributesW(HostPath(path).wstring().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
#else
    return true;
#endif
  }

  std::int64_t FileSize(const Text& path) override {
    std::error_code ec;
    const fs::path host = HostPath(path);
    if (!fs::is_regular_file(host, ec)) return -1;
    const auto size = fs::file_size(host, ec);
    return ec ? -1 : static_cast<std::int64_t>(size);
  }

  std::vector<FolderEntry> ListFolder(const Text& path) override {
    std::vector<FolderEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(HostPath(path), ec);
    if (ec) return entries;
    for (const fs::directory_entry& e : it) {
      std::error_code ec2;
      FolderEntry entry;
      entry.name = HostText(e.path().filename());
      entry.link = e.is_symlink(ec2);
      entry.kind = e.is_directory(ec2)      ? FileKind::kFolder
                   : e.is_regular_file(ec2) ? FileKind::kFile
                                            : FileKind::kOther;
      entries.push_back(std::move(entry));
    }
    return entries;
  }

  std::string ReadFile(const Text& path) override {
    const fs::path host = HostPath(path);
    std::error_code ec;
    if (fs::is_directory(host, ec)) {
      throw MakeFileError(FileError::kAccessError, path, u"読み込めません（フォルダです）");
    }
    std::FILE* f = OpenHost(host, "rb");
    if (f == nullptr) throw MakeFileError(CodeOfErrno(errno), path, u"開けません");
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) throw MakeFileError(FileError::kAccessError, path, u"読み込めません");
    return data;
  }

  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override {
    const fs::path host = HostPath(path);
    std::error_code ec;
    if (fs::is_directory(host, ec)) {
      throw MakeFileError(FileError::kAccessError, path,
                          u"作成できません（同じ名前のフォルダがあります）");
    }
    std::FILE* f = mode == WriteMode::kCreateNew
                       ? OpenNew(host)
                       : OpenHost(host, mode == WriteMode::kCreate ? "wb" : "ab");
    if (f == nullptr && mode == WriteMode::kAppend) {
      throw MakeFileError(CodeOfErrno(errno), path, u"開けません");
    }
    if (f == nullptr) {
      const int code = CodeOfErrno(errno);
      throw MakeFileError(code == FileError::kFileNotFound ? FileError::kPathNotFound : code, path,
                          u"作成できません");
    }
    return std::make_unique<HostFile>(f, path);
  }

  void Truncate(const Text& path, std::int64_t size) override {
    std::error_code ec;
    fs::resize_file(HostPath(path), static_cast<std::uintmax_t>(size), ec);
    if (ec) throw MakeFileError(FileError::kAccessError, path, u"書き込めません");
  }

  void MakeFolder(const Text& path) override {
    std::error_code ec;
    if (!fs::create_directory(HostPath(path), ec) && ec) {
      throw MakeFileError(CodeOf(ec), path, u"作成できません");
    }
  }

  void RemoveFile(const Text& path) override {
    std::error_code ec;
    if (!fs::remove(HostPath(path), ec) && ec) {
      throw MakeFileError(CodeOf(ec), path, u"削除できません");
    }
  }

  void CopyFile(const Text& from, const Text& to) override {
    std::error_code ec;
    const fs::path src = HostPath(from);
    const fs::path dst = HostPath(to);
    if (!fs::is_regular_file(src, ec)) {
      throw MakeFileError(FileError::kFileNotFound, from, u"コピーできません");
    }
#ifdef _WIN32
    // The system's own copy: the C++ library's copy_file cannot replace an existing file here.
    if (!CopyFileW(src.wstring().c_str(), dst.wstring().c_str(), FALSE)) {
      throw MakeFileError(CodeOfLastError(), to, u"作成できません");
    }
#else
    fs::copy_file(src, dst, fs::copy_options::overwrite_existing, ec);
    if (ec) throw MakeFileError(CodeOf(ec), to, u"作成できません");
#endif
  }

  void ReplaceFile(const Text& from, const Text& to) override {
    const fs::path src = HostPath(from);
    const fs::path dst = HostPath(to);
    std::FILE* f = OpenHost(src, "rb+");
    if (f == nullptr) throw MakeFileError(CodeOfErrno(errno), from, u"開けません");
    const bool synced = SyncStream(f);
    std::fclose(f);
    if (!synced) throw MakeFileError(FileError::kAccessError, from, u"書き込めません");
#ifdef _WIN32
    if (!MoveFileExW(src.wstring().c_str(), dst.wstring().c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      throw MakeFileError(CodeOfLastError(), to, u"置き換えられません");
    }
#else
    // The new file takes the old one's permissions and group: a table a group shares stays
    // writable for the group whoever rewrote it.
    struct stat old {};
    if (::stat(dst.c_str(), &old) == 0) {
      if (::chown(src.c_str(), static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Only the groups of the file's owner can be given: the folder's group then stays.
      }
      ::chmod(src.c_str(), old.st_mode & 07777);
    }
    if (std::rename(src.c_str(), dst.c_str()) != 0) {
      throw MakeFileError(CodeOfErrno(errno), to, u"置き換えられません");
    }
#endif
  }

  void SyncFolder(const Text& path) override {
#ifdef _WIN32
    // NTFS writes its folder entries through its journal; a replacement is written through
    // (MOVEFILE_WRITE_THROUGH) and a new file's entry goes with the file's own flush.
    std::error_code ec;
    if (!fs::is_directory(HostPath(path), ec)) {
      throw MakeFileError(FileError::kPathNotFound, path, u"書き込めません");
    }
#else
    const int fd = ::open(HostPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw MakeFileError(CodeOfErrno(errno), path, u"開けません");
    // Some file systems cannot force a folder (EINVAL): their entries are written as they go.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int err = errno;
    ::close(fd);
    if (!ok) throw MakeFileError(CodeOfErrno(err), path, u"書き込めません");
#endif
  }

  std::unique_ptr<HeldLock> TryLock(const Text& path) override {
    FileLock lock = FileLock::TryAcquire(HostPath(path), path);
    if (!lock.Held()) return nullptr;
    return std::make_unique<HostLock>(std::move(lock));
  }

  void Sleep(std::chrono::milliseconds duration) override {
    std::this_thread::sleep_for(duration);
  }

  Text ProgramFolder() override {
    fs::path exe;
#ifdef _WIN32
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    if (n > 0 && n < std::size(buf)) exe = fs::path(std::wstring(buf, n));
#else
    std::error_code ec;
    exe = fs::read_symlink("/proc/self/exe", ec);
#endif
    if (exe.empty()) exe = programPath_;
    if (exe.empty()) return Text();
    return HostText(exe.parent_path());
  }

 private:
  fs::path programPath_;
};

}  // namespace

std::unique_ptr<Env> NewHostEnv(const char* argv0) {
  return std::make_unique<HostEnv>(argv0);
}

}  // namespace ostra
