#include "env/files.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/text_lines.h"
#include "env/drives.h"

#ifdef _WIN32
#include <io.h>

#include "base/windows_api.h"
#else
#include <unistd.h>
#endif

namespace ostra {

namespace fs = std::filesystem;

namespace {

constexpr size_t kFlushSize = 64 * 1024;

int CodeOfErrno(int err) {
  switch (err) {
    case ENOENT:
      return FileError::kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return FileError::kPermissionDenied;
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
// The error code of the last failed system call.
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

// Forces a stream's data to disk.
bool SyncStream(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

fs::path Host(const Text& path) {
  return DriveMap::Instance().ToHost(path);
}

}  // namespace

bool FileExists(const Text& path) {
  try {
    std::error_code ec;
    return fs::is_regular_file(Host(path), ec);
  } catch (const FileError&) {
    return false;
  }
}

bool SelectableFileExists(const Text& path) {
  if (!FileExists(path)) return false;
#ifdef _WIN32
  DWORD attributes = GetFileAttributesW(Host(path).wstring().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
#else
  return true;
#endif
}

bool FolderExists(const Text& path) {
  try {
    std::error_code ec;
    return fs::is_directory(Host(path), ec);
  } catch (const FileError&) {
    return false;
  }
}

bool PathExists(const Text& path) {
  try {
    std::error_code ec;
    return fs::exists(Host(path), ec);
  } catch (const FileError&) {
    return false;
  }
}

std::int64_t FileSize(const Text& path) {
  try {
    std::error_code ec;
    fs::path host = Host(path);
    if (!fs::is_regular_file(host, ec)) return -1;
    auto size = fs::file_size(host, ec);
    if (ec) return -1;
    return static_cast<std::int64_t>(size);
  } catch (const FileError&) {
    return -1;
  }
}

std::string ReadFileBytes(const Text& path) {
  fs::path host = Host(path);
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
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw MakeFileError(FileError::kAccessError, path, u"読み込めません");
  return data;
}

Text ReadFileText(const Text& path) {
  return DecodeCp932(ReadFileBytes(path));
}

std::vector<Text> ReadFileLines(const Text& path) {
  return SplitLines(ReadFileText(path));
}

void MakeFolder(const Text& path) {
  std::error_code ec;
  fs::path host = Host(path);
  if (!fs::create_directory(host, ec) && ec) {
    throw MakeFileError(CodeOf(ec), path, u"作成できません");
  }
}

void DeleteFile(const Text& path) {
  std::error_code ec;
  fs::path host = Host(path);
  if (!fs::remove(host, ec) && ec) throw MakeFileError(CodeOf(ec), path, u"削除できません");
}

void CopyFile(const Text& from, const Text& to) {
  std::error_code ec;
  fs::path src = Host(from);
  fs::path dst = Host(to);
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

void ReplaceFile(const Text& from, const Text& to) {
  fs::path src = Host(from);
  fs::path dst = Host(to);
  std::FILE* f = OpenHost(src, "rb+");
  if (f == nullptr) throw MakeFileError(CodeOfErrno(errno), from, u"開けません");
  bool synced = SyncStream(f);
  std::fclose(f);
  if (!synced) throw MakeFileError(FileError::kAccessError, from, u"書き込めません");
#ifdef _WIN32
  if (!MoveFileExW(src.wstring().c_str(), dst.wstring().c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw MakeFileError(CodeOfLastError(), to, u"置き換えられません");
  }
#else
  if (std::rename(src.c_str(), dst.c_str()) != 0) {
    throw MakeFileError(CodeOfErrno(errno), to, u"置き換えられません");
  }
#endif
}

void TouchFile(const Text& path) {
  fs::path host = Host(path);
  std::error_code ec;
  if (fs::exists(host, ec)) return;
  std::FILE* f = OpenHost(host, "ab");
  if (f == nullptr) throw MakeFileError(CodeOfErrno(errno), path, u"作成できません");
  std::fclose(f);
}

void AppendLines(const Text& path, const std::vector<Text>& lines) {
  std::string bytes;
  for (const Text& line : lines) {
    bytes += EncodeCp932(line);
    bytes += "\r\n";
  }
  fs::path host = Host(path);
  std::FILE* f = OpenHost(host, "ab");
  if (f == nullptr) throw MakeFileError(CodeOfErrno(errno), path, u"開けません");
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  // Handed to the system at once: the lines survive the process, whatever happens to it next.
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) throw MakeFileError(FileError::kAccessError, path, u"書き込めません");
}

namespace {
fs::path& ProgramPath() {
  static fs::path p;
  return p;
}
}  // namespace

void SetProgramPath(const char* argv0) {
  std::error_code ec;
  if (argv0 != nullptr) ProgramPath() = fs::absolute(argv0, ec);
}

Text ProgramFolder() {
  fs::path exe;
#ifdef _WIN32
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
  if (n > 0 && n < std::size(buf)) exe = fs::path(std::wstring(buf, n));
#else
  std::error_code ec;
  exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = ProgramPath();
#endif
  if (exe.empty()) exe = ProgramPath();
  fs::path folder = exe.parent_path();
  std::optional<Text> drive = DriveMap::Instance().ToDriveForm(folder);
  if (!drive) return Text();
  Text out = *drive;
  if (out.size() > 3 && out.back() == u'\\') out.pop_back();
  if (out.size() == 3 && out.back() == u'\\') out.pop_back();
  return out;
}

OutFile::OutFile(OutFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      path_(std::move(other.path_)),
      buffer_(std::move(other.buffer_)) {}

OutFile& OutFile::operator=(OutFile&& other) noexcept {
  if (this != &other) {
    if (file_ != nullptr) std::fclose(file_);
    file_ = std::exchange(other.file_, nullptr);
    path_ = std::move(other.path_);
    buffer_ = std::move(other.buffer_);
  }
  return *this;
}

OutFile::~OutFile() {
  if (file_ != nullptr) {
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    std::fclose(file_);
  }
}

void OutFile::Open(const Text& path, Mode mode) {
  if (file_ != nullptr) Close();
  fs::path host = Host(path);
  std::error_code ec;
  if (fs::is_directory(host, ec)) {
    throw MakeFileError(FileError::kAccessError, path,
                        u"作成できません（同じ名前のフォルダがあります）");
  }
  file_ = OpenHost(host, mode == Mode::kCreate ? "wb" : "ab");
  if (file_ == nullptr) {
    throw MakeFileError(CodeOfErrno(errno) == FileError::kFileNotFound ? FileError::kPathNotFound
                                                                       : CodeOfErrno(errno),
                        path, u"作成できません");
  }
  path_ = path;
  buffer_.clear();
}

void OutFile::Write(TextView text) {
  buffer_ += EncodeCp932(text);
  if (buffer_.size() >= kFlushSize) Flush();
}

void OutFile::Line(TextView text) {
  buffer_ += EncodeCp932(text);
  buffer_ += "\r\n";
  if (buffer_.size() >= kFlushSize) Flush();
}

void OutFile::Flush() {
  if (file_ == nullptr || buffer_.empty()) return;
  size_t n = std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  bool ok = n == buffer_.size();
  buffer_.clear();
  if (!ok) throw MakeFileError(FileError::kAccessError, path_, u"書き込めません");
}

void OutFile::Sync() {
  Flush();
  if (file_ != nullptr && !SyncStream(file_)) {
    throw MakeFileError(FileError::kAccessError, path_, u"書き込めません");
  }
}

void OutFile::Close() {
  if (file_ == nullptr) return;
  bool ok = true;
  if (!buffer_.empty()) {
    ok = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size();
    buffer_.clear();
  }
  ok = (std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  if (!ok) throw MakeFileError(FileError::kAccessError, path_, u"書き込めません");
}

}  // namespace ostra
