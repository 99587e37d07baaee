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
#include <optional>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"
#include "env/env.h"
#include "formats/data_messages.h"

namespace ostra {

inline constexpr int kMaxFields = 40;

// The run's one record buffer: fields 1..40. A record of F fields overwrites fields 1..F; higher
// fields keep what earlier records left there.
class RecordFields {
 public:
  static constexpr int kSize = kMaxFields;
  // Field n, 1 <= n <= 40; throws std::out_of_range for any other n.
  Text& operator[](int n) { return slots_.at(Index(n)); }
  const Text& operator[](int n) const { return slots_.at(Index(n)); }

 private:
  static size_t Index(int n) { return n < 1 ? kSize : static_cast<size_t>(n - 1); }
  std::array<Text, kSize> slots_;
};

// A count read from a section header, with where it stands, for messages about the data it
// announces. It reads as its value.
struct Count {
  static constexpr size_t kFixed = static_cast<size_t>(-1);  // a count the format fixes
  int value = 0;
  size_t offset = kFixed;  // where the field starts in the text
  Text what;               // its name in messages ("レコード数" ...)
  operator int() const { return value; }
};

class FieldReader {
 public:
  // Reads the whole file. Throws FileError (53) when it does not exist or cannot be read.
  // `role` is what the file is to the run (the data set, a table, a working file of the
  // destination): every error of the reader is of that kind.
  static FieldReader Open(Env& env, const Text& path, ErrorKind role = ErrorKind::kData);
  // A file of a data set in the encoding decided for the whole set (see data_set_encoding.h):
  // UTF-8 when `utf8`, else code page 932. In UTF-8, a byte that is no UTF-8 or a character
  // code page 932 cannot hold throws RunError naming the file, the line and column and it.
  static FieldReader OpenDataSet(Env& env, const Text& path, bool utf8);
  FieldReader(Text content, Text path, ErrorKind role = ErrorKind::kData);

  // True when no further field can be read.
  bool AtEnd();
  // The next field as text. Throws FileError (62, reading past the end) naming the file, where
  // it ends and, within a block, the record and field that were missing.
  Text ReadText();
  // The next field as a decimal number (full-width numerals allowed, empty reads as 0).
  // Throws RunError naming the file, the place, `what` and the value when it is not a number.
  double ReadNumber(const Text& what);
  // The next field as a count: a whole number from 0 to `max`. Throws RunError otherwise.
  Count ReadCount(const Text& what, int max = 32767);
  // Reads F fields into slots 1..F of `fields`.
  void ReadRecord(RecordFields& fields, int count);

  // Starts a block of `records` records of `fields` fields each, as the header announced them:
  // until its last record has been read, a file that ends names the record and field it lacks
  // and the count that asked for them. Throws RunError when `fields` is above the 40 fields a
  // record holds.
  void BeginBlock(const Count& records, const Count& fields);
  // The same for a list of `items` single values (the MDT header items), at most 40.
  void BeginItems(const Count& items);

  // Where the last field returned starts, and where any offset of the text lies.
  TextPlace LastPlace() const { return PlaceOf(fieldStart_); }
  TextPlace PlaceOf(size_t offset) const;
  size_t LastOffset() const { return fieldStart_; }

  // Adds text at the end, as if the file had grown, so that reading goes on where it stopped.
  // Returns false when reading on would not give what reading the grown file from its start
  // gives (the last field ran into the old end of the file): the caller then reads anew.
  bool Append(TextView more);

  const Text& Path() const { return path_; }

 private:
  // The block being read: which record and field come next, for messages.
  struct Block {
    bool active = false;
    bool items = false;  // header items rather than records
    Count records;
    Count fields;
    int record = 0;  // 1-based record being read
    int field = 0;   // 1-based field being read
    size_t recordStart = 0;
  };

  Text Next(const Text* what);
  [[noreturn]] void ThrowPastEnd(const Text* what) const;
  // `values` name what was read and the value as read, then what the problem names.
  [[noreturn]] void ThrowBadValue(Problem problem, std::vector<Text> values) const;
  DataPlace PlaceFor(size_t offset, const Text& value) const;
  // Throws RunError when a count of fields (or items) is above the 40 a record holds.
  void CheckLimit(const Count& count) const;

  Text content_;
  Text path_;
  ErrorKind role_;  // what the file is to the run, for its errors
  size_t pos_ = 0;
  size_t fieldStart_ = 0;                   // where the last field returned starts
  std::optional<size_t> unclosedQuote_;     // a quote that ran to the end of the text
  std::optional<size_t> quoteOverLineEnd_;  // the first quoted field that ran over a line end
  Block block_;
  mutable size_t placeOffset_ = 0;  // PlaceOf counts lines on from here
  mutable long placeLine_ = 1;
  bool pendingEmpty_ = false;  // a comma was consumed: one more (maybe empty) field follows
  bool openEnd_ = false;       // the last field read ended at the end of the text
  bool truncated_ = false;     // the text ended at a Ctrl-Z: nothing after it is read
};

// The fields of one line of a file by the rules above (a table line, a line of an output
// file); none for an empty line.
std::vector<Text> LineFields(const Text& line);

}  // namespace ostra
