// The system calls behind the host Env, on POSIX and on Windows: each failure throws FileError
// naming the file and what was attempted, in Japanese.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "env/env.h"

namespace ostra::host {

// FileError codes of a failed call.
int CodeOfErrno(int err);
int CodeOf(const std::error_code& ec);
#ifdef _WIN32
int CodeOfLastError();
#endif

// Whether a failure says only that the path names nothing (no such file or folder).
bool NotThere(const std::error_code& ec);

// What the system tells of one name.
struct Stat {
  FileFacts facts;
  std::int64_t size = 0;
  bool hidden = false;  // hidden or a system file (Windows)
};

// Throws FileError ("調べられません") unless the path is there or names nothing.
Stat StatOf(const std::filesystem::path& host, const Text& path);
// The entries of a folder; none when there is no such folder.
std::vector<FolderEntry> ListOf(const std::filesystem::path& host, const Text& path);
// The whole of an ordinary file; never waits on a pipe or a device.
std::string ReadAll(const std::filesystem::path& host, const Text& path);
// A file opened for writing as `mode` says (see Env::OpenWrite).
std::unique_ptr<WritableFile> OpenForWrite(const std::filesystem::path& host, const Text& path,
                                           WriteMode mode);
// Cuts an ordinary file down, never through a link.
void CutTo(const std::filesystem::path& host, const Text& path, std::int64_t size);
// Forces a stream's data to disk.
bool SyncStream(std::FILE* f);
std::FILE* OpenStream(const std::filesystem::path& host, const char* mode);

}  // namespace ostra::host
