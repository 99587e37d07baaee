// Text files through an Env. All text files are code page 932 with CR LF. Failures throw
// FileError with a Japanese message naming the file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"
#include "env/env.h"

namespace ostra {

// Whole file as decoded text. Throws FileError 53 when missing.
Text ReadFileText(Env& env, const Text& path);
// Whole lines of a text file, without their line ends (CR LF, LF or CR). A final line end
// does not start another line; a trailing Ctrl-Z is dropped.
std::vector<Text> ReadFileLines(Env& env, const Text& path);
// Creates an empty file when none exists; leaves an existing one untouched.
void TouchFile(Env& env, const Text& path);
// Appends whole lines (each followed by CR LF) in one write, handed to the system before it
// returns.
void AppendLines(Env& env, const Text& path, const std::vector<Text>& lines);
// A drive is usable when its root folder ("D:\") exists (the drive is "ready").
bool DriveReady(Env& env, char16_t letter);

// A text output file, written through a buffer. Close() reports every failed write; a file
// dropped without Close() (the run stopped on another error) is still written out and closed,
// without a report.
class OutFile {
 public:
  enum class Mode { kCreate, kAppend, kCreateNew };

  OutFile() = default;
  OutFile(Env& env, const Text& path, Mode mode = Mode::kCreate) { Open(env, path, mode); }
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  OutFile(OutFile&& other) noexcept;
  // Closes this file first (writing out its buffer, throwing FileError when that fails).
  OutFile& operator=(OutFile&& other);
  ~OutFile();

  // Creates (truncates) or opens for appending. Throws FileError.
  void Open(Env& env, const Text& path, Mode mode = Mode::kCreate);
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
  std::unique_ptr<WritableFile> file_;
  Text path_;
  std::string buffer_;
};

}  // namespace ostra
