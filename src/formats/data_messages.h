// What is known about bad data in a section file, for the run to word: the file, the line and
// character position as an editor shows them, the value as read and what was expected.
#pragma once

#include <optional>

#include "base/codec.h"
#include "base/errors.h"

namespace ostra {

// A place in a file as an editor shows it.
struct TextPlace {
  long line = 1;    // 1-based
  long column = 1;  // 1-based character position in the line
};

// What is known when a file ends before the fields its counts announce.
struct PastEndFacts {
  Text path;
  TextPlace end;  // where the data ends
  Text wanted;    // the value that was to be read, when it has a name
  // Within a block of records (or of header items):
  bool inBlock = false;
  bool items = false;
  int record = 0;                          // 1-based record that lacks a field
  int records = 0;                         // records (or items) the count announced
  int field = 0;                           // 1-based field (or item) that is missing
  std::optional<TextPlace> recordStart;    // where the record's first field stands
  Text countWhat;                          // the count that announced the block
  std::optional<TextPlace> countAt;        // where it stands; none for a count the format fixes
  std::optional<TextPlace> unclosedQuote;  // a double quote that ran to the end of the file
  // The first quoted field that ran over a line end: the usual cause of a file that ends short.
  std::optional<TextPlace> quoteOverLineEnd;
};

// Reading past the end of a file (error 62), with what the file lacks.
class PastEndError : public FileError {
 public:
  PastEndError(ErrorKind kind, PastEndFacts facts)
      : FileError(kind, FileOp::kRead, kInputPastEnd, facts.path), facts_(std::move(facts)) {}
  const PastEndFacts& Facts() const { return facts_; }

 private:
  PastEndFacts facts_;
};

}  // namespace ostra
