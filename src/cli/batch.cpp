#include "cli/batch.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/codec.h"
#include "base/encoding_guess.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "cli/paths.h"
#include "cli/scan.h"
#include "cli/session.h"

namespace ostra {

namespace {

// The fields of one CSV line; false when a quote is not closed.
bool SplitCsv(const Text& line, std::vector<Text>& fields) {
  fields.assign(1, Text());
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (quoted) {
      if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
        fields.back() += u'"';
        ++i;
      } else if (c == u'"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == u'"') {
      quoted = true;
    } else if (c == u',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (Text& f : fields) f = Trim(f);
  return !quoted;
}

}  // namespace

std::vector<BatchItem> ReadBatchList(const std::string& bytes, std::string& error) {
  // Half-width katakana pairs alone do not make the list UTF-8.
  const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  const Text text = VerdictOf(ScanUtf8(bytes)) == Utf8Verdict::kUtf8
                        ? FromUtf8(bytes.substr(bom ? 3 : 0))
                        : DecodeCp932(bytes);
  std::vector<BatchItem> items;
  const std::vector<Text> lines = SplitLines(text);
  bool first = true;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Text line = Trim(lines[i]);
    if (line.empty() || line[0] == u'#') continue;
    std::vector<Text> fields;
    const std::string where = "一覧の " + std::to_string(i + 1) + " 行目";
    if (!SplitCsv(line, fields)) {
      error = where + ": 「\"」が閉じていません";
      return {};
    }
    const bool header = first && UpperAscii(fields[0]) == u"SOURCE";
    first = false;
    if (header) continue;
    if (fields.size() != 2 || fields[0].empty() || fields[1].empty()) {
      error = where + ": SOURCE,DEST の 2 項目が必要です（「" + ToUtf8(line) + "」）";
      return {};
    }
    items.push_back({ToUtf8(fields[0]), ToUtf8(fields[1]), static_cast<long>(i + 1), {}, {}});
  }
  if (items.empty()) error = "一覧に変換するデータがありません";
  return items;
}

namespace {

// Standard input to its end.
std::string ReadStandardInput() {
  std::string bytes;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) bytes.append(buffer, n);
  return bytes;
}

constexpr bool kBackslashSeparates = std::filesystem::path::preferred_separator == '\\';

bool IsSeparator(char c) {
  return c == '/' || (kBackslashSeparates && c == '\\');
}

// A path of the list taken from the list's folder `folder` (ending in a separator) when it is
// a relative host path; drive-form and absolute paths as they are.
std::string FromListFolder(const std::string& folder, const std::string& path) {
  if (folder.empty() || LooksDriveForm(path) || path.empty() || IsSeparator(path[0])) return path;
  return folder + path;
}

}  // namespace

std::optional<std::vector<BatchItem>> CollectBatchItems(Session& session, int& exitCode) {
  const CliOptions& options = session.Options();
  if (!options.scan.empty()) return CollectScannedItems(session, exitCode);
  const bool standardInput = options.batch == "-";
  const std::optional<std::string> bytes =
      standardInput ? ReadStandardInput() : ReadHostFile(options.batch);
  if (!bytes) {
    exitCode = UsageError(session.Term(), "一覧「" + options.batch + "」を読めません");
    return std::nullopt;
  }
  std::string error;
  std::vector<BatchItem> items = ReadBatchList(*bytes, error);
  if (items.empty()) {
    exitCode = UsageError(session.Term(), options.batch + ": " + error);
    return std::nullopt;
  }
  // Relative paths of a list file are taken from its folder; those of standard input from the
  // current folder.
  std::string folder;
  for (size_t i = options.batch.size(); !standardInput && i > 0; --i) {
    if (IsSeparator(options.batch[i - 1])) {
      folder = options.batch.substr(0, i);
      break;
    }
  }
  for (BatchItem& item : items) {
    item.source = FromListFolder(folder, item.source);
    item.dest = FromListFolder(folder, item.dest);
  }
  return items;
}

}  // namespace ostra
