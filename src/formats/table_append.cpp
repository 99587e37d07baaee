#include "formats/table_append.h"

#include <algorithm>
#include <cstdint>
#include <random>

#include "base/encoding_guess.h"
#include "base/errors.h"
#include "base/numbers.h"
#include "base/text_lines.h"
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
  // Half-width katakana pairs that happen to be valid UTF-8 do not count.
  const Utf8Verdict verdict = VerdictOf(ScanUtf8(bytes));
  if (verdict == Utf8Verdict::kUtf8 || verdict == Utf8Verdict::kMostlyUtf8) {
    throw RunError(u"参照ファイル \"" + path +
                       u"\" は UTF-8 で保存されています。Shift-JIS（コードページ "
                       u"932）で保存し直してください。変換できません。",
                   path, ErrorKind::kReferenceFolder);
  }
  Text text = DecodeCp932(bytes);
  const size_t ctrlZ = text.find(u'\x1A');
  if (extended && ctrlZ != Text::npos &&
      text.find_first_not_of(u" \t\r\n\x1A", ctrlZ) != Text::npos) {
    throw RunError(u"参照ファイル \"" + path + u"\" の " + IntText(LineNumberAt(text, ctrlZ)) +
                       u" 行目にファイルの終わりの印（Ctrl-Z）があり、その後にもデータがあります。"
                       u"その印を取り除いてから変換してください。",
                   path, ErrorKind::kReferenceFolder);
  }
  return text;
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

void WriteTableAnew(Env& env, const Text& path, const std::vector<Text>& lines) {
  const Text folder = path.substr(0, path.find_last_of(u'\\') + 1);
  std::random_device random;
  for (int attempt = 0;; ++attempt) {
    const Text tmpPath = folder + u"XK" + ZeroPadded(random() % 1000000, 6) + u".TMP";
    if (env.PathExists(tmpPath) && attempt < 20) continue;
    OutFile tmp;
    try {
      tmp.Open(env, tmpPath, OutFile::Mode::kCreateNew);
    } catch (const FileError&) {
      // Taken by someone else meanwhile: another name; any other failure stops the run.
      if (attempt < 20 && env.PathExists(tmpPath)) continue;
      throw;
    }
    try {
      for (const Text& line : lines) tmp.Line(line);
      tmp.Close();
      env.ReplaceFile(tmpPath, path);
    } catch (const FileError&) {
      try {
        tmp = OutFile();
        if (env.FileExists(tmpPath)) env.RemoveFile(tmpPath);
      } catch (const FileError&) {
        // The first failure is the one the run reports.
      }
      throw;
    }
    return;
  }
}

void RequireTable(Env& env, const Text& path) {
  if (!env.FileExists(path))
    throw RunError(MsgMissingTable(path), path, ErrorKind::kReferenceFolder);
}

}  // namespace strata

}  // namespace ostra
