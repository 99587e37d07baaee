#include "formats/table_append.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/errors.h"
#include "env/drives.h"
#include "env/files.h"
#include "formats/code_table.h"

namespace ostra {

namespace {

bool IsTrailing(char c) {
  return c == ' ' || c == '\r' || c == '\n' || c == '\x1A';
}

// The last `count` bytes of a file.
std::string Tail(const std::filesystem::path& host, std::uintmax_t size, std::uintmax_t count,
                 const Text& path) {
  std::string tail(static_cast<size_t>(count), '\0');
#ifdef _WIN32
  std::FILE* f = _wfopen(host.wstring().c_str(), L"rb");
#else
  std::FILE* f = std::fopen(host.c_str(), "rb");
#endif
  if (f == nullptr) throw MakeFileError(FileError::kAccessError, path, u"開けません");
  bool ok = std::fseek(f, static_cast<long>(size - count), SEEK_SET) == 0 &&
            std::fread(tail.data(), 1, tail.size(), f) == tail.size();
  std::fclose(f);
  if (!ok) throw MakeFileError(FileError::kAccessError, path, u"読み込めません");
  return tail;
}

}  // namespace

bool PrepareAppend(const Text& path) {
  const std::int64_t size = FileSize(path);
  if (size <= 0) return false;
  const std::filesystem::path host = DriveMap::Instance().ToHost(path);
  const auto total = static_cast<std::uintmax_t>(size);
  std::uintmax_t count = std::min<std::uintmax_t>(total, 4096);
  std::string tail = Tail(host, total, count, path);
  size_t keep = tail.size();
  while (keep > 0 && IsTrailing(tail[keep - 1])) --keep;
  if (keep == 0 && count < total) {  // a long blank end: look at the whole file
    count = total;
    tail = Tail(host, total, count, path);
    keep = tail.size();
    while (keep > 0 && IsTrailing(tail[keep - 1])) --keep;
  }
  const std::string end = tail.substr(keep);
  if (keep > 0 && (end == "\r\n" || end == "\n" || end == "\r")) return false;
  std::error_code ec;
  std::filesystem::resize_file(host, total - count + keep, ec);
  if (ec) throw MakeFileError(FileError::kAccessError, path, u"書き込めません");
  if (total - count + keep > 0) {
    std::FILE* f =
#ifdef _WIN32
        _wfopen(host.wstring().c_str(), L"ab");
#else
        std::fopen(host.c_str(), "ab");
#endif
    if (f == nullptr) throw MakeFileError(FileError::kAccessError, path, u"書き込めません");
    bool ok = std::fwrite("\r\n", 1, 2, f) == 2;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) throw MakeFileError(FileError::kAccessError, path, u"書き込めません");
  }
  return true;
}

namespace strata {

bool AppendTableLine(const Text& path, const Text& line) {
  const bool endChanged = PrepareAppend(path);
  AppendLines(path, {line});
  return endChanged;
}

void RequireTable(const Text& path) {
  if (!FileExists(path)) throw RunError(MsgMissingTable(path));
}

}  // namespace strata

}  // namespace ostra
