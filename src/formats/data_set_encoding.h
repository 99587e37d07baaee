// One encoding for all the files of a data set (the MDT file and its sibling section files):
// chosen by the user, or decided from what the bytes of all of them say.
#pragma once

#include <string>
#include <vector>

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// The user's choice.
enum class DataEncoding {
  kAuto,   // decided from the files
  kCp932,  // code page 932 (Shift-JIS)
  kUtf8,   // UTF-8
};

// How the encoding was decided.
enum class EncodingBasis {
  kDefault,  // nothing in the files is other than ASCII or reads both ways: code page 932
  kContent,  // the files' bytes
  kChosen,   // the user's choice
};

struct DataSetEncoding {
  bool utf8 = false;
  EncodingBasis basis = EncodingBasis::kDefault;
};

// Decides the encoding of the data set whose files are `files` (those that do not exist are
// left out). Throws FileError when one cannot be read, and RunError (kData) when
// files disagree (one is UTF-8, another is not), when a data set read as UTF-8 holds a byte
// that is no UTF-8, or a character that code page 932 cannot hold: the message names the file
// and, for a byte or a character, its line and column.
DataSetEncoding DecideDataSetEncoding(Env& env, const std::vector<Text>& files,
                                      DataEncoding choice);

// The text of a data set's file in the decided encoding (a UTF-8 byte order mark dropped).
// Throws RunError as DecideDataSetEncoding does for a byte or a character.
Text DecodeDataFile(const std::string& bytes, const Text& path, bool utf8);

// Keys for the JSON report and the command line: "cp932", "utf-8"; "default", "content",
// "chosen".
const char* EncodingKey(bool utf8);
const char* EncodingBasisKey(EncodingBasis basis);

}  // namespace ostra
