// Japanese messages about bad data in a section file. Each names the file ("…"), the line and
// character position as an editor shows them, the value as read in 「」 and what was expected.
#pragma once

#include <optional>

#include "base/codec.h"

namespace ostra {

// A place in a file as an editor shows it.
struct TextPlace {
  long line = 1;    // 1-based
  long column = 1;  // 1-based character position in the line
};

// "3 行目 5 文字目"
Text PlaceText(const TextPlace& at);

Text MsgNotANumber(const Text& path, const TextPlace& at, const Text& what, const Text& value);
Text MsgBadCount(const Text& path, const TextPlace& at, const Text& what, const Text& value);
Text MsgTooManyFields(const Text& path, const TextPlace& at, const Text& what, const Text& value,
                      int limit);

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
};

Text MsgPastEnd(const PastEndFacts& facts);

}  // namespace ostra
