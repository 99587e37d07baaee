#include "formats/data_set_encoding.h"

#include <cstdio>

#include "base/encoding_guess.h"
#include "base/errors.h"
#include "base/text_lines.h"
#include "formats/data_messages.h"

namespace ostra {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Where a byte stands: its line and its column counted in the characters before it.
TextPlace PlaceOfByte(std::string_view bytes, size_t offset) {
  const size_t newline = offset == 0 ? std::string_view::npos : bytes.rfind('\n', offset - 1);
  size_t from = newline == std::string_view::npos ? 0 : newline + 1;
  if (from == 0 && bytes.substr(0, 3) == kBom) from = 3;
  long line = 1;
  for (size_t i = 0; i < offset; ++i) line += bytes[i] == '\n' ? 1 : 0;
  const long column = static_cast<long>(FromUtf8(bytes.substr(from, offset - from)).size()) + 1;
  return TextPlace{line, column};
}

Text ByteText(unsigned char b) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", b);
  return FromUtf8(hex);
}

[[noreturn]] void ThrowInvalidByte(std::string_view bytes, size_t offset, const Text& path) {
  const TextPlace at = PlaceOfByte(bytes, offset);
  const Text byte = ByteText(static_cast<unsigned char>(bytes[offset]));
  throw ProblemError(Problem::kNotUtf8Byte, {byte}, path, ErrorKind::kData,
                     DataPlace{at.line, at.column, 0, 0, 0, byte});
}

struct Scanned {
  Text path;
  std::string bytes;
  Utf8Verdict verdict;
};

}  // namespace

Text DecodeDataFile(const std::string& bytes, const Text& path, bool utf8) {
  if (!utf8) return DecodeCp932(bytes);
  const Utf8Scan scan = ScanUtf8(bytes);
  if (scan.invalid > 0) ThrowInvalidByte(bytes, scan.firstInvalid, path);
  Text text = FromUtf8(std::string_view(bytes).substr(scan.bom ? 3 : 0));
  const size_t bad = FindUnencodable(text);
  if (bad != Text::npos) {
    const Text character = CharacterAt(text, bad);
    const TextPlace at{static_cast<long>(LineNumberAt(text, bad)),
                       static_cast<long>(ColumnAt(text, bad))};
    throw ProblemError(Problem::kNotCp932, {character}, path, ErrorKind::kData,
                       DataPlace{at.line, at.column, 0, 0, 0, character});
  }
  return text;
}

DataSetEncoding DecideDataSetEncoding(Env& env, const std::vector<Text>& files,
                                      DataEncoding choice) {
  if (choice == DataEncoding::kCp932) return {false, EncodingBasis::kChosen};
  std::vector<Scanned> scanned;
  for (const Text& path : files) {
    if (!env.FileExists(path)) continue;
    std::string bytes = env.ReadFile(path);
    const Utf8Verdict verdict = VerdictOf(ScanUtf8(bytes));
    scanned.push_back({path, std::move(bytes), verdict});
  }
  std::vector<const Scanned*> utf8;
  std::vector<const Scanned*> cp932;
  for (const Scanned& f : scanned) {
    if (f.verdict == Utf8Verdict::kUtf8 || f.verdict == Utf8Verdict::kMostlyUtf8)
      utf8.push_back(&f);
    if (f.verdict == Utf8Verdict::kCp932) cp932.push_back(&f);
  }
  DataSetEncoding decided{false, EncodingBasis::kDefault};
  if (choice == DataEncoding::kUtf8) {
    decided = {true, EncodingBasis::kChosen};
  } else if (!utf8.empty() && !cp932.empty()) {
    std::vector<Text> names;
    for (const Scanned* f : utf8) names.push_back(f->path);
    names.emplace_back();
    for (const Scanned* f : cp932) names.push_back(f->path);
    throw ProblemError(Problem::kMixedEncodings, std::move(names), cp932.front()->path,
                       ErrorKind::kData);
  } else if (!utf8.empty()) {
    decided = {true, EncodingBasis::kContent};
  } else if (!cp932.empty()) {
    decided = {false, EncodingBasis::kContent};
  }
  if (decided.utf8) {
    for (const Scanned& f : scanned) DecodeDataFile(f.bytes, f.path, true);
  }
  return decided;
}

const char* EncodingKey(bool utf8) {
  return utf8 ? "utf-8" : "cp932";
}

const char* EncodingBasisKey(EncodingBasis basis) {
  switch (basis) {
    case EncodingBasis::kDefault:
      return "default";
    case EncodingBasis::kContent:
      return "content";
    case EncodingBasis::kChosen:
      return "chosen";
  }
  return "";
}

}  // namespace ostra
