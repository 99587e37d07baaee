#include "base/errors.h"

namespace ostra {

const char* ErrorKindKey(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::kData:
      return "data";
    case ErrorKind::kReferenceFolder:
      return "reference-folder";
    case ErrorKind::kDestination:
      return "destination";
    case ErrorKind::kLock:
      return "lock";
    case ErrorKind::kDeclined:
      return "declined";
    case ErrorKind::kSystem:
      break;
  }
  return "system";
}

namespace {

std::string WhatOf(FileOp op, int code, const Text& path) {
  return "file error " + std::to_string(code) + " (operation " +
         std::to_string(static_cast<int>(op)) + "): " + ToUtf8(path);
}

}  // namespace

ProblemError::ProblemError(Problem problem, std::vector<Text> values, Text file, ErrorKind kind,
                           std::optional<DataPlace> place)
    : RunError(file, kind,
               "problem " + std::to_string(static_cast<int>(problem)) + ": " + ToUtf8(file)),
      problem_(problem),
      values_(std::move(values)) {
  if (place) SetPlace(std::move(*place));
}

FileError::FileError(ErrorKind kind, FileOp op, int code, Text path, FileDetail detail,
                     int systemError)
    : RunError(path, kind, WhatOf(op, code, path)),
      code_(code),
      op_(op),
      detail_(detail),
      systemError_(systemError) {}

FileError FileError::ForPath(const Text& path) const {
  FileError renamed(Kind(), op_, code_, path, detail_, systemError_);
  renamed.hostPath_ = !hostPath_.empty() ? hostPath_ : Path() != path ? Path() : Text();
  if (Place()) renamed.SetPlace(*Place());
  return renamed;
}

FileError FileError::AsOp(FileOp op) const {
  FileError other(Kind(), op, code_, Path(), FileDetail::kNone, systemError_);
  other.hostPath_ = hostPath_;
  return other;
}

}  // namespace ostra
