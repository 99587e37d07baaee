// An output file of one block together with the sequence counter that numbers its lines.
#pragma once

#include <cstdint>
#include <utility>

#include "base/codec.h"
#include "env/files.h"

namespace ostra {

// The counter is signed 16-bit, 1 when the block starts (unless given), and advances by one for
// every numbered line; after 32767 it wraps to -32768, as a 16-bit counter does.
class OutputFile {
 public:
  OutputFile() = default;
  explicit OutputFile(OutFile file, std::int16_t first = 1)
      : file_(std::move(file)), number_(first) {}
  // Creates (truncates) the file at `path`. Throws FileError.
  OutputFile(Env& env, const Text& path, std::int16_t first = 1)
      : OutputFile(OutFile(env, path), first) {}

  // The number the next numbered line carries.
  std::int16_t Number() const { return number_; }
  // Writes a line that carries Number() and advances the counter.
  void NumberedLine(TextView text) {
    file_.Line(text);
    ++number_;
  }
  // Writes a line that carries no number.
  void Line(TextView text = {}) { file_.Line(text); }
  // Writes out and closes the file; throws FileError when that fails.
  void Close() { file_.Close(); }
  const Text& Path() const { return file_.Path(); }

 private:
  OutFile file_;
  std::int16_t number_ = 1;
};

}  // namespace ostra
