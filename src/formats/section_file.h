// Reading section files and reference tables as one stream of comma-separated fields.
//
// Rules: blanks before a field are skipped. A field starting with a double quote runs to the
// next double quote (across line ends if need be); what follows it up to and including the
// next comma or line end is skipped. Any other field runs to the next comma or line end, which
// is consumed, and loses its trailing blanks. A comma right before a line end (or the end of
// the file) leaves one more, empty field; an empty line is one empty field. When only blanks,
// line ends and a Ctrl-Z remain, the file is at its end.
#pragma once

#include <array>
#include <cstdint>

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// The run's one record buffer: slots 1..40 (slot 0 unused). A record of F fields overwrites
// slots 1..F; higher slots keep what earlier records left there.
inline constexpr int kMaxFields = 40;
using RecordFields = std::array<Text, kMaxFields + 1>;

class FieldReader {
 public:
  // Reads the whole file. Throws FileError (53) when it does not exist or cannot be read.
  static FieldReader Open(Env& env, const Text& path);
  // A file of a data set: code page 932, or UTF-8 when it looks so (see LooksUtf8); `utf8`
  // tells which. A UTF-8 file holding a character code page 932 cannot hold throws RunError
  // naming the file, the line and the character.
  static FieldReader OpenDataSet(Env& env, const Text& path, bool& utf8);
  FieldReader(Text content, Text path);

  // True when no further field can be read.
  bool AtEnd();
  // The next field as text. Throws FileError (62, reading past the end) naming the file.
  Text ReadText();
  // The next field as a decimal number (full-width numerals allowed, empty reads as 0).
  // Throws RunError naming the file and `what` when it is not a number.
  double ReadNumber(const Text& what);
  // The next field as a count: a whole number from 0 to `max`. Throws RunError otherwise.
  int ReadCount(const Text& what, int max = 32767);
  // Reads F fields into slots 1..F of `fields`.
  void ReadRecord(RecordFields& fields, int count);

  // Adds text at the end, as if the file had grown, so that reading goes on where it stopped.
  // Returns false when reading on would not give what reading the grown file from its start
  // gives (the last field ran into the old end of the file): the caller then reads anew.
  bool Append(TextView more);

  const Text& Path() const { return path_; }

 private:
  Text content_;
  Text path_;
  size_t pos_ = 0;
  bool pendingEmpty_ = false;  // a comma was consumed: one more (maybe empty) field follows
  bool openEnd_ = false;       // the last field read ended at the end of the text
  bool truncated_ = false;     // the text ended at a Ctrl-Z: nothing after it is read
};

// Japanese messages for bad section data, naming the file.
Text MsgNotANumber(const Text& path, const Text& what, const Text& value);
Text MsgBadCount(const Text& path, const Text& what, const Text& value);
Text MsgTooManyFields(const Text& path, const Text& what, int count, int limit);

}  // namespace ostra
