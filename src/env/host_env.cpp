#include "env/host_env.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <thread>
#include <utility>

#include "env/host_io.h"
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

using host::CodeOf;
using host::CodeOfErrno;

// Runs one operation, telling a failure that the C++ library reports by an exception as a
// FileError naming the file.
template <typename Op>
auto Guarded(const Text& path, FileOp failed, Op op) {
  try {
    return op();
  } catch (const std::system_error& e) {
    throw FileError(ErrorKind::kSystem, failed, CodeOf(e.code()), path, FileDetail::kNone,
                    e.code().value());
  }
}

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

  FileKind KindOf(const Text& path) override { return Stat(path).facts.kind; }

  bool IsSelectable(const Text& path) override {
    const host::Stat s = Stat(path);
    return s.facts.kind == FileKind::kFile && !s.hidden;
  }

  std::int64_t FileSize(const Text& path) override {
    const host::Stat s = Stat(path);
    return s.facts.kind == FileKind::kFile ? s.size : -1;
  }

  FileFacts Inspect(const Text& path) override {
    const host::Stat s = Stat(path);
    FileFacts facts = s.facts;
    if (facts.kind == FileKind::kFile) facts.size = s.size;
    facts.hidden = s.hidden;
    return facts;
  }

  std::vector<FolderEntry> ListFolder(const Text& path) override {
    return Guarded(path, FileOp::kQuery, [&] { return host::ListOf(HostPath(path), path); });
  }

  std::string ReadFile(const Text& path) override {
    return Guarded(path, FileOp::kRead, [&] { return host::ReadAll(HostPath(path), path); });
  }

  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override {
    return Guarded(path, mode == WriteMode::kAppend ? FileOp::kOpen : FileOp::kCreate,
                   [&] { return host::OpenForWrite(HostPath(path), path, mode); });
  }

  void Truncate(const Text& path, std::int64_t size) override {
    Guarded(path, FileOp::kWrite, [&] { host::CutTo(HostPath(path), path, size); });
  }

  void MakeFolder(const Text& path) override {
    std::error_code ec;
    if (!fs::create_directory(HostPath(path), ec) && ec) {
      throw FileError(ErrorKind::kSystem, FileOp::kCreate, CodeOf(ec), path, FileDetail::kNone,
                      ec.value());
    }
  }

  void RemoveFile(const Text& path) override {
    std::error_code ec;
    if (!fs::remove(HostPath(path), ec) && ec) {
      throw FileError(ErrorKind::kSystem, FileOp::kRemove, CodeOf(ec), path, FileDetail::kNone,
                      ec.value());
    }
  }

  // The copy is a file made anew (see OpenWrite): never written through a link at `to`.
  void CopyFile(const Text& from, const Text& to) override {
    if (KindOf(from) != FileKind::kFile) {
      throw FileError(ErrorKind::kSystem, FileOp::kCopy, FileError::kFileNotFound, from);
    }
    const std::string bytes = ReadFile(from);
    std::unique_ptr<WritableFile> file = OpenWrite(to, WriteMode::kCreate);
    file->Append(bytes);
    file->Close();
  }

  void ReplaceFile(const Text& from, const Text& to) override {
    const fs::path src = HostPath(from);
    const fs::path dst = HostPath(to);
    std::FILE* f = host::OpenStream(src, "rb+");
    if (f == nullptr)
      throw FileError(ErrorKind::kSystem, FileOp::kOpen, CodeOfErrno(errno), from,
                      FileDetail::kNone, errno);
    const bool synced = host::SyncStream(f);
    std::fclose(f);
    if (!synced) throw FileError(ErrorKind::kSystem, FileOp::kWrite, FileError::kAccessError, from);
#ifdef _WIN32
    if (!MoveFileExW(src.wstring().c_str(), dst.wstring().c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      throw FileError(ErrorKind::kSystem, FileOp::kReplace, host::CodeOfLastError(), to,
                      FileDetail::kNone, static_cast<int>(GetLastError()));
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
      throw FileError(ErrorKind::kSystem, FileOp::kReplace, CodeOfErrno(errno), to,
                      FileDetail::kNone, errno);
    }
#endif
  }

  void SyncFolder(const Text& path) override {
#ifdef _WIN32
    // NTFS writes its folder entries through its journal; a replacement is written through
    // (MOVEFILE_WRITE_THROUGH) and a new file's entry goes with the file's own flush.
    std::error_code ec;
    if (!fs::is_directory(HostPath(path), ec)) {
      throw FileError(ErrorKind::kSystem, FileOp::kWrite, FileError::kPathNotFound, path);
    }
#else
    const int fd = ::open(HostPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
      throw FileError(ErrorKind::kSystem, FileOp::kOpen, CodeOfErrno(errno), path,
                      FileDetail::kNone, errno);
    // Some file systems cannot force a folder (EINVAL): their entries are written as they go.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int err = errno;
    ::close(fd);
    if (!ok)
      throw FileError(ErrorKind::kSystem, FileOp::kWrite, CodeOfErrno(err), path, FileDetail::kNone,
                      err);
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
  host::Stat Stat(const Text& path) {
    return Guarded(path, FileOp::kQuery, [&] { return host::StatOf(HostPath(path), path); });
  }

  fs::path programPath_;
};

}  // namespace

std::unique_ptr<Env> NewHostEnv(const char* argv0) {
  return std::make_unique<HostEnv>(argv0);
}

}  // namespace ostra
