// Errors that stop a conversion run. Each carries the Japanese text shown to the user.
#pragma once

#include <exception>
#include <optional>
#include <string>

#include "base/codec.h"

namespace ostra {

// What a stop was about, for the report: the data set, the reference folder, the destination,
// the lock on the reference folder, the user's No, or the system itself.
enum class ErrorKind { kUnknown, kData, kReferenceFolder, kDestination, kLock, kDeclined, kSystem };

// The key of a kind in the JSON report ("data", "reference-folder" ...).
const char* ErrorKindKey(ErrorKind kind);

// Where in a data file a problem lies (0 and empty: not known).
struct DataPlace {
  long line = 0;         // 1-based, as an editor counts
  long column = 0;       // 1-based character position in the line
  long record = 0;       // 1-based record of the block being read
  long recordCount = 0;  // records the header announced for that block
  long field = 0;        // 1-based field of the record (or header item)
  Text value;            // the value as read
};

class RunError : public std::exception {
 public:
  explicit RunError(Text message, Text file = Text(), ErrorKind kind = ErrorKind::kUnknown)
      : message_(std::move(message)),
        file_(std::move(file)),
        kind_(kind),
        utf8_(ToUtf8(message_)) {}
  RunError(Text message, Text file, ErrorKind kind, DataPlace place)
      : RunError(std::move(message), std::move(file), kind) {
    place_ = std::move(place);
  }
  const Text& Message() const { return message_; }
  // The file the error is about, when there is one.
  const Text& File() const { return file_; }
  ErrorKind Kind() const { return kind_; }
  // Where in the file, for a problem with its data.
  const std::optional<DataPlace>& Place() const { return place_; }
  void SetPlace(DataPlace place) { place_ = std::move(place); }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  Text message_;
  Text file_;
  ErrorKind kind_;
  std::optional<DataPlace> place_;
  std::string utf8_;
};

// A file access error, numbered like the platform's classic file errors so that the header
// check can show "エラー <number> <description>".
class FileError : public RunError {
 public:
  enum Code : int {
    kFileNotFound = 53,
    kDiskFull = 61,
    kInputPastEnd = 62,
    kPermissionDenied = 70,
    kPathNotFound = 76,
    kAccessError = 75,
  };
  FileError(int code, Text path, Text message, Text action = Text())
      : RunError(std::move(message), path),
        code_(code),
        path_(std::move(path)),
        action_(std::move(action)) {}
  int Code() const { return code_; }
  const Text& Path() const { return path_; }
  // The platform's description of the error number ("ファイルが見つかりません。" ...).
  Text Description() const { return DescriptionOf(code_); }
  static Text DescriptionOf(int code);
  // The same failure told of another name of the file (a drive-form path for a host path).
  FileError ForPath(const Text& path) const;

 private:
  int code_;
  Text path_;
  Text action_;  // what was attempted, when the message was made from it
};

// Builds a FileError for a failed operation on a file: `action` says what was attempted
// ("開けません", "作成できません" ...), the description comes from the code.
FileError MakeFileError(int code, const Text& path, const Text& action);

}  // namespace ostra
