#include "formats/section_file.h"

#include <cmath>
#include <string>

#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "env/files.h"

namespace ostra {

namespace {

constexpr char16_t kCtrlZ = u'\x1A';

bool IsBlank(char16_t c) {
  return c == u' ';
}
bool IsLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

}  // namespace

FieldReader FieldReader::Open(Env& env, const Text& path) {
  return FieldReader(ReadFileText(env, path), path);
}

FieldReader FieldReader::OpenDataSet(Env& env, const Text& path, bool& utf8) {
  const std::string bytes = env.ReadFile(path);
  utf8 = LooksUtf8(bytes);
  if (!utf8) return FieldReader(DecodeCp932(bytes), path);
  const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
  Text text = FromUtf8(std::string_view(bytes).substr(bom ? 3 : 0));
  const size_t bad = FindUnencodable(text);
  if (bad != Text::npos) {
    throw RunError(u"ファイル \"" + path + u"\" の " + IntText(LineNumberAt(text, bad)) +
                       u" 行目の文字「" + CharacterAt(text, bad) +
                       u"」は Shift-JIS（コードページ 932）にない文字です。変換できません。",
                   path, ErrorKind::kData);
  }
  return FieldReader(std::move(text), path);
}

FieldReader::FieldReader(Text content, Text path)
    : content_(std::move(content)), path_(std::move(path)) {
  // Ctrl-Z marks the end of a text file.
  size_t eof = content_.find(kCtrlZ);
  if (eof != Text::npos) {
    content_.resize(eof);
    truncated_ = true;
  }
}

bool FieldReader::Append(TextView more) {
  if (truncated_) return true;
  // A field that ran into the old end, or a CR that the added LF turns into one CR LF line end,
  // reads differently in the grown file.
  if (openEnd_) return false;
  if (!content_.empty() && content_.back() == u'\r' && !more.empty() && more.front() == u'\n') {
    return false;
  }
  size_t eof = more.find(kCtrlZ);
  content_.append(more.substr(0, eof));
  if (eof != TextView::npos) truncated_ = true;
  return true;
}

bool FieldReader::AtEnd() {
  if (pendingEmpty_) return false;
  for (size_t i = pos_; i < content_.size(); ++i) {
    char16_t c = content_[i];
    if (!IsBlank(c) && !IsLineEnd(c)) return false;
  }
  return true;
}

Text FieldReader::ReadText() {
  if (AtEnd()) {
    throw FileError(FileError::kInputPastEnd, path_,
                    u"ファイル \"" + path_ + u"\" のデータが途中で終わっています。" +
                        FileError::DescriptionOf(FileError::kInputPastEnd));
  }
  pendingEmpty_ = false;
  const size_t size = content_.size();
  while (pos_ < size && IsBlank(content_[pos_])) ++pos_;
  if (pos_ >= size) {
    openEnd_ = true;
    return Text();
  }

  Text value;
  size_t stop;  // where the field's terminator search starts
  if (content_[pos_] == u'"') {
    size_t close = content_.find(u'"', pos_ + 1);
    if (close == Text::npos) {
      value = content_.substr(pos_ + 1);
      stop = size;
    } else {
      value = content_.substr(pos_ + 1, close - pos_ - 1);
      stop = close + 1;
    }
  } else {
    stop = pos_;
  }
  size_t end = content_.find_first_of(u",\r\n", stop);
  if (end == Text::npos) end = size;
  if (content_[pos_] != u'"') value = TrimRight(TextView(content_).substr(pos_, end - pos_));
  openEnd_ = end >= size;
  if (end >= size) {
    pos_ = size;
  } else if (content_[end] == u',') {
    pos_ = end + 1;
    pendingEmpty_ = true;
  } else {
    pos_ = end + 1;
    if (content_[end] == u'\r' && pos_ < size && content_[pos_] == u'\n') ++pos_;
  }
  return value;
}

double FieldReader::ReadNumber(const Text& what) {
  Text raw = ReadText();
  Text t = Trim(NarrowNumerals(raw));
  if (t.empty()) return 0.0;
  std::optional<double> v = ostra::ReadNumber(t);
  if (!v) throw RunError(MsgNotANumber(path_, what, raw), path_);
  return *v;
}

int FieldReader::ReadCount(const Text& what, int max) {
  Text raw = ReadText();
  Text t = Trim(NarrowNumerals(raw));
  if (t.empty()) return 0;
  std::optional<double> v = ostra::ReadNumber(t);
  if (!v) throw RunError(MsgNotANumber(path_, what, raw), path_);
  if (*v < 0 || std::floor(*v) != *v || *v > 32767)
    throw RunError(MsgBadCount(path_, what, raw), path_);
  int n = static_cast<int>(*v);
  if (n > max) throw RunError(MsgTooManyFields(path_, what, n, max), path_);
  return n;
}

void FieldReader::ReadRecord(RecordFields& fields, int count) {
  for (int i = 1; i <= count; ++i) fields[static_cast<size_t>(i)] = ReadText();
}

Text MsgNotANumber(const Text& path, const Text& what, const Text& value) {
  return u"ファイル \"" + path + u"\" の" + what + u"「" + value +
         u"」が数値ではありません。変換できません。";
}

Text MsgBadCount(const Text& path, const Text& what, const Text& value) {
  return u"ファイル \"" + path + u"\" の" + what + u"「" + value +
         u"」が 0 から 32767 までの整数ではありません。変換できません。";
}

Text MsgTooManyFields(const Text& path, const Text& what, int count, int limit) {
  return u"ファイル \"" + path + u"\" の" + what + u" " + IntText(count) + u" が上限 " +
         IntText(limit) + u" を超えています。変換できません。";
}

}  // namespace ostra
