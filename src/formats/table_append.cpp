#include "formats/table_append.h"

#include <algorithm>
#include <cstdint>

#include "base/errors.h"
#include "base/numbers.h"
#include "env/files.h"
#include "formats/code_table.h"

namespace ostra {

namespace {

bool IsTrailing(char c) {
  return c == ' ' || c == '\r' || c == '\n' || c == '\x1A';
}

}  // namespace

bool PrepareAppend(Env& env, const Text& path) {
  const std::int64_t size = env.FileSize(path);
  if (size <= 0) return false;
  const std::string bytes = env.ReadFile(path);
  size_t keep = bytes.size();
  while (keep > 0 && IsTrailing(bytes[keep - 1])) --keep;
  const std::string end = bytes.substr(keep);
  if (keep > 0 && (end == "\r\n" || end == "\n" || end == "\r")) return false;
  env.Truncate(path, static_cast<std::int64_t>(keep));
  if (keep > 0) {
    std::unique_ptr<WritableFile> file = env.OpenWrite(path, WriteMode::kAppend);
    file->Append("\r\n");
    file->Close();
  }
  return true;
}

Text ReadTableText(Env& env, const Text& path, bool extended) {
  const std::string bytes = env.ReadFile(path);
  if (LooksUtf8(bytes)) {
    throw RunError(u"参照ファイル \"" + path +
                   u"\" は UTF-8 で保存されています。Shift-JIS（コードページ "
                   u"932）で保存し直してください。変換できません。");
  }
  const size_t ctrlZ = bytes.find('\x1A');
  if (extended && ctrlZ != std::string::npos &&
      bytes.find_first_not_of(" \t\r\n\x1A", ctrlZ) != std::string::npos) {
    long long line = 1;
    for (size_t i = 0; i < ctrlZ; ++i) {
      if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= ctrlZ || bytes[i + 1] != '\n')))
        ++line;
    }
    throw RunError(u"参照ファイル \"" + path + u"\" の " + IntText(line) +
                   u" 行目にファイルの終わりの印（Ctrl-Z）があり、その後にもデータがあります。"
                   u"その印を取り除いてから変換してください。");
  }
  return DecodeCp932(bytes);
}

namespace strata {

bool AppendTableLine(Env& env, const Text& path, const Text& line, bool& endTidy) {
  const bool endChanged = !endTidy && PrepareAppend(env, path);
  // A line goes on whole or not at all: after a failed write the table is cut back to what it
  // was, so that no half entry (or half a character) stays in it.
  const std::int64_t before = env.FileSize(path);
  try {
    AppendLines(env, path, {line});
  } catch (const FileError&) {
    if (before >= 0 && env.FileSize(path) != before) env.Truncate(path, before);
    throw;
  }
  endTidy = true;
  return endChanged;
}

void RequireTable(Env& env, const Text& path) {
  if (!env.FileExists(path)) throw RunError(MsgMissingTable(path));
}

}  // namespace strata

}  // namespace ostra
