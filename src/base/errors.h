// Errors that stop a conversion run. Each carries what went wrong and where, as set by its
// thrower; the run layer words it for the user.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "base/codec.h"

namespace ostra {

// What a stop was about, for the report: the data set, the reference folder, the destination,
// the lock on the reference folder, the user's No, or the system itself (also a file error no
// layer has given a role).
enum class ErrorKind { kData, kReferenceFolder, kDestination, kLock, kDeclined, kSystem };

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

// What every error that stops a run has; FileError and ProblemError say what went wrong.
class RunError : public std::exception {
 public:
  // The file the error is about, when there is one.
  const Text& File() const { return file_; }
  ErrorKind Kind() const { return kind_; }
  // Gives a file error that no layer has given a role yet the role of its file.
  void GiveRole(ErrorKind kind) {
    if (kind_ == ErrorKind::kSystem) kind_ = kind;
  }
  // Where in the file, for a problem with its data.
  const std::optional<DataPlace>& Place() const { return place_; }
  void SetPlace(DataPlace place) { place_ = std::move(place); }
  const char* what() const noexcept override { return utf8_.c_str(); }

 protected:
  // `what` is for logs and debuggers only: the run layer words the error for the user.
  RunError(Text file, ErrorKind kind, std::string what)
      : file_(std::move(file)), kind_(kind), utf8_(std::move(what)) {}
  void SetFile(Text file) { file_ = std::move(file); }

 private:
  Text file_;
  ErrorKind kind_;
  std::optional<DataPlace> place_;
  std::string utf8_;
};

// The operation on a file that failed.
enum class FileOp {
  kOpen,
  kRead,
  kList,   // reading a folder's entries
  kQuery,  // existence, kind, size or facts
  kCreate,
  kWrite,
  kSync,
  kMakeFolder,
  kRemove,
  kCopy,
  kReplace,
  kLock,
};

// Why, when it was not the system's error number: what the file turned out to be, or a failure
// a test brought about.
enum class FileDetail {
  kNone,
  kSymbolicLink,
  kFolder,
  kNotRegular,
  kOtherName,     // the file has more names than one
  kNameTaken,     // something of that name is there
  kFolderTaken,   // a folder of that name is there
  kTestFault,     // a failure injected by a test
  kTestPowerCut,  // a power cut played by a test
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
  // `path` as the caller named it; `systemError` the errno or GetLastError value, 0 when none.
  FileError(ErrorKind kind, FileOp op, int code, Text path, FileDetail detail = FileDetail::kNone,
            int systemError = 0);
  int Code() const { return code_; }
  FileOp Op() const { return op_; }
  FileDetail Detail() const { return detail_; }
  int SystemError() const { return systemError_; }
  // The file as its caller named it (the drive form, when an Env mapped it).
  const Text& Path() const { return File(); }
  // The host's name of the file when an Env mapped the caller's name to it, else empty.
  const Text& HostPath() const { return hostPath_; }
  // The same failure told of the caller's name of the file: `path` becomes the path and the
  // name the failure was found under stays as the host path.
  FileError ForPath(const Text& path) const;
  // The same failure told as one of another operation on the file (a create that failed
  // opening), without the detail of the first.
  FileError AsOp(FileOp op) const;

 private:
  int code_;
  FileOp op_;
  FileDetail detail_;
  int systemError_;
  Text hostPath_;
};

// A problem the run layer words from the values it names, in the order given here.
enum class Problem {
  // A value of a data file, at its place: what was read and the value as read.
  kNotANumber,     // what, value
  kBadCount,       // what, value (not a whole number from 0 to 32767)
  kTooManyFields,  // what, value, limit
  // The encoding of a data file.
  kNotUtf8Byte,     // the byte ("0x8F") that is no UTF-8, at its place
  kNotCp932,        // the character code page 932 cannot hold, at its place
  kMixedEncodings,  // the UTF-8 files, an empty value, the code page 932 files
  // A table of the reference folder (the file).
  kMissingTable,
  kLastRecordShort,  // the last record lacks its second field
  kTooManyRows,      // limit
  kTableInUtf8,
  kTableEndMark,  // line of the Ctrl-Z that data follows
  kTableNotRegular,
  kTableIsLink,
  kTableHasOtherName,
  kTableReadOnly,
  kNoFreeCode,   // soil name that found no free code below 4000 in the dictionary
  kFolderInUse,  // the reference folder another run holds locked past the wait
  // A file of the data set that is no ordinary file.
  kDataIsFolder,
  kDataNotRegular,
  // A boring exchange XML file.
  kXmlNotWellFormed,  // what is wrong (a fault key of formats/bed_xml.h), at its place
  kNotBoringXml,      // the root element's name as found
  // The run itself.
  kPathTooDeep,  // the path
  kInterrupted,
};

// An error the run layer words from its problem and values.
class ProblemError : public RunError {
 public:
  ProblemError(Problem problem, std::vector<Text> values, Text file, ErrorKind kind,
               std::optional<DataPlace> place = std::nullopt);
  Problem GetProblem() const { return problem_; }
  const std::vector<Text>& Values() const { return values_; }

 private:
  Problem problem_;
  std::vector<Text> values_;
};

// Runs `step`; a file error it throws that no layer has given a role yet leaves as one of
// `kind`. The layer that knows what a file is to the run wraps its file access in this.
template <typename Step>
decltype(auto) InRole(ErrorKind kind, Step&& step) {
  try {
    return step();
  } catch (FileError& e) {
    e.GiveRole(kind);
    throw;
  }
}

}  // namespace ostra
