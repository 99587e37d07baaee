// File operations on drive-form paths. All text files are code page 932 with CR LF.
// Failures throw FileError with a Japanese message naming the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"

namespace ostra {

bool FileExists(const Text& path);  // an ordinary file
// A file the user can have chosen: it exists and is neither hidden nor a system file.
bool SelectableFileExists(const Text& path);
bool FolderExists(const Text& path);  // a folder
bool PathExists(const Text& path);    // either
// Length in bytes; -1 when the file does not exist (or is not an ordinary file).
std::int64_t FileSize(const Text& path);

// Whole file as bytes / as decoded text. Throws FileError 53 when missing.
std::string ReadFileBytes(const Text& path);
Text ReadFileText(const Text& path);
// Whole lines of a text file, without their line ends (CR LF, LF or CR). A final line end
// does not start another line; a trailing Ctrl-Z is dropped.
std::vector<Text> ReadFileLines(const Text& path);

void MakeFolder(const Text& path);
void DeleteFile(const Text& path);
// Copies a file, replacing the target.
void CopyFile(const Text& from, const Text& to);
// Replaces `to` by `from` in one step: `from` is flushed to disk first, then renamed over
// `to`, so that `to` is never missing.
void ReplaceFile(const Text& from, const Text& to);
// Creates an empty file when none exists; leaves an existing one untouched.
void TouchFile(const Text& path);
// Appends whole lines (each followed by CR LF) in one write, handed to the system before it
// returns.
void AppendLines(const Text& path, const std::vector<Text>& lines);

// The folder that holds the running program, in drive form without a trailing "\".
Text ProgramFolder();
// Called once by main() with argv[0], so that ProgramFolder() works everywhere.
void SetProgramPath(const char* argv0);

// A text output file, written through a buffer.
class OutFile {
 public:
  enum class Mode { kCreate, kAppend };

  OutFile() = default;
  OutFile(const Text& path, Mode mode = Mode::kCreate) { Open(path, mode); }
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  OutFile(OutFile&& other) noexcept;
  OutFile& operator=(OutFile&& other) noexcept;
  ~OutFile();

  // Creates (truncates) or opens for appending. Throws FileError.
  void Open(const Text& path, Mode mode = Mode::kCreate);
  // Text in code page 932, as it stands.
  void Write(TextView text);
  // Text followed by CR LF.
  void Line(TextView text = {});
  // Writes out the buffer and closes; throws FileError when the data cannot be written.
  void Close();
  // Writes out the buffer and forces it to disk.
  void Sync();
  bool IsOpen() const { return file_ != nullptr; }
  const Text& Path() const { return path_; }

 private:
  void Flush();
  std::FILE* file_ = nullptr;
  Text path_;
  std::string buffer_;
};

}  // namespace ostra
