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
    case ErrorKind::kUnknown:
      break;
  }
  return "system";
}

Text FileError::DescriptionOf(int code) {
  switch (code) {
    case kFileNotFound:
      return u"ファイルが見つかりません。";
    case kDiskFull:
      return u"ディスクの空き容量が足りません。";
    case kInputPastEnd:
      return u"ファイルの終わりを越えて読み込もうとしました。";
    case kPermissionDenied:
      return u"書き込みが許可されていません。";
    case kPathNotFound:
      return u"パスが見つかりません。";
    default:
      return u"ファイルにアクセスできません。";
  }
}

FileError MakeFileError(int code, const Text& path, const Text& action) {
  Text msg = u"ファイル \"" + path + u"\" を" + action + u"。" + FileError::DescriptionOf(code);
  return FileError(code, path, msg, action);
}

FileError FileError::ForPath(const Text& path) const {
  FileError renamed =
      action_.empty() ? FileError(code_, path, Message()) : MakeFileError(code_, path, action_);
  if (Place()) renamed.SetPlace(*Place());
  return renamed;
}

}  // namespace ostra
