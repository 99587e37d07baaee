#include "formats/table_append.h"

#include <algorithm>
#include <cstdint>
#include <random>

#include "base/drive_path.h"
#include "base/encoding_guess.h"
#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "env/files.h"
#include "formats/code_table.h"

namespace ostra {

namespace {

// The folder of a file's path, with its trailing "\".
Text FolderOf(const Text& path) {
  return path.substr(0, path.find_last_of(u'\\') + 1);
}

bool IsTrailing(char c) {
  return c == ' ' || c == '\r' || c == '\n' || c == '\x1A';
}

}  // namespace

bool PrepareAppend(Env& env, const Text& path) {
  return InRole(ErrorKind::kReferenceFolder, [&]() -> bool {
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
  });
}

Text ReadTableText(Env& env, const Text& path, bool extended) {
  return InRole(ErrorKind::kReferenceFolder, [&]() -> Text {
    const std::string bytes = env.ReadFile(path);
    // Half-width katakana pairs that happen to be valid UTF-8 do not count.
    const Utf8Verdict verdict = VerdictOf(ScanUtf8(bytes));
    if (verdict == Utf8Verdict::kUtf8 || verdict == Utf8Verdict::kMostlyUtf8) {
      throw ProblemError(Problem::kTableInUtf8, {}, path, ErrorKind::kReferenceFolder);
    }
    Text text = DecodeCp932(bytes);
    const size_t ctrlZ = text.find(u'\x1A');
    if (extended && ctrlZ != Text::npos &&
        text.find_first_not_of(u" \t\r\n\x1A", ctrlZ) != Text::npos) {
      throw ProblemError(Problem::kTableEndMark, {IntText(LineNumberAt(text, ctrlZ))}, path,
                         ErrorKind::kReferenceFolder);
    }
    return text;
  });
}

namespace strata {

bool AppendTableLine(Env& env, const Text& path, const Text& line, bool& endTidy) {
  return InRole(ErrorKind::kReferenceFolder, [&]() -> bool {
    const bool endChanged = !endTidy && PrepareAppend(env, path);
    // A line goes on whole or not at all: after a failed write the table is cut back to what it
    // was, so that no half entry (or half a character) stays in it.
    const std::int64_t before = env.FileSize(path);
    try {
      // On the disk before the run goes on, as a database does: a power loss afterwards keeps
      // the entry, so that no later entry (in this table or another) can refer to one lost.
      std::unique_ptr<WritableFile> file = env.OpenWrite(path, WriteMode::kAppend);
      file->Append(EncodeCp932(line) + "\r\n");
      file->Sync();
      file->Close();
    } catch (const FileError&) {
      if (before >= 0 && env.FileSize(path) != before) env.Truncate(path, before);
      throw;
    }
    if (before < 0) env.SyncFolder(FolderOf(path));  // the table was made by this line
    endTidy = true;
    return endChanged;
  });
}

void WriteTableAnew(Env& env, const Text& path, const std::vector<Text>& lines) {
  return InRole(ErrorKind::kReferenceFolder, [&]() {
    const Text folder = FolderOf(path);
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
        // The new name on the disk before any other table refers to the new entry.
        env.SyncFolder(folder);
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
  });
}

bool IsRewriteTemporary(const Text& name) {
  const Text upper = UpperAscii(name);
  if (upper.size() != 12 || upper.rfind(u"XK", 0) != 0 || upper.substr(8) != u".TMP") return false;
  return std::all_of(upper.begin() + 2, upper.begin() + 8,
                     [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

int RemoveRewriteLeftovers(Env& env, const Text& folder) {
  return InRole(ErrorKind::kReferenceFolder, [&]() -> int {
    const DrivePath prefix(folder);
    int removed = 0;
    for (const FolderEntry& entry : env.ListFolder(folder)) {
      if (entry.link || entry.kind != FileKind::kFile || !IsRewriteTemporary(entry.name)) continue;
      env.RemoveFile(prefix.Join(entry.name));
      ++removed;
    }
    return removed;
  });
}

void RequireTable(Env& env, const Text& path) {
  return InRole(ErrorKind::kReferenceFolder, [&]() {
    if (!env.FileExists(path))
      throw ProblemError(Problem::kMissingTable, {}, path, ErrorKind::kReferenceFolder);
  });
}

}  // namespace strata

}  // namespace ostra
