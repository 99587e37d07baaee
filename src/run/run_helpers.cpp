// The run's small helpers: the lock wait setting, the header check, the sibling file names and
// their check.
#include <cstdlib>
#include <iterator>

#include "base/errors.h"
#include "base/numbers.h"
#include "base/path_text.h"
#include "convert/section_unit.h"
#include "formats/bed_data_set.h"
#include "formats/section_file.h"
#include "run/error_text.h"
#include "run/run.h"

namespace ostra {

std::chrono::milliseconds LockWaitSetting(const char* value) {
  if (value != nullptr) {
    char* end = nullptr;
    const long v = std::strtol(value, &end, 10);
    if (end != value && v >= 0) return std::chrono::seconds(v);
  }
  return kDefaultLockWait;
}

std::optional<Text> CheckSectionHeader(Env& env, const Text& path, std::int16_t n) {
  try {
    FieldReader reader = FieldReader::Open(env, path);
    for (int i = 0; i < n; ++i) reader.ReadText();
    return std::nullopt;
  } catch (const FileError& e) {
    return HeaderFailureMessage(e, path);
  }
}

std::optional<Text> CheckSectionHeader(const Text& content, const Text& path, std::int16_t n) {
  try {
    FieldReader reader(content, path);
    for (int i = 0; i < n; ++i) reader.ReadText();
    return std::nullopt;
  } catch (const FileError& e) {
    return HeaderFailureMessage(e, path);
  }
}

Text HeaderFailureMessage(const FileError& e, const Text& path) {
  return u"エラー `" + IntText(e.Code()) + u" " + FileErrorDescription(e.Code()) + u"\r`" + path +
         u"` のヘッダーが不正です。変換できません";
}

void CheckDataSetFiles(Env& env, const Text& sourcePath) {
  for (const Text& name : DataSetFiles(sourcePath)) {
    const FileKind kind = InRole(ErrorKind::kData, [&] { return env.Inspect(name).kind; });
    if (kind == FileKind::kFolder) {
      throw ProblemError(Problem::kDataIsFolder, {}, name, ErrorKind::kData);
    }
    if (kind == FileKind::kOther) {
      throw ProblemError(Problem::kDataNotRegular, {}, name, ErrorKind::kData);
    }
  }
}

}  // namespace ostra
