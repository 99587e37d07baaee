#include "formats/section_file.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "env/files.h"
#include "formats/data_set_encoding.h"

namespace ostra {

namespace {

constexpr char16_t kCtrlZ = u'\x1A';

bool IsBlank(char16_t c) {
  return c == u' ';
}
bool IsLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

// Whether a number has no fraction: every digit after the point is 0.
bool IsWhole(const DecimalNumber& number) {
  if (number.exponent >= 0) return true;
  const std::uint64_t after = static_cast<std::uint64_t>(-(number.exponent + 1)) + 1;
  const size_t fraction = static_cast<size_t>(std::min<std::uint64_t>(after, number.digits.size()));
  return std::all_of(number.digits.end() - static_cast<std::ptrdiff_t>(fraction),
                     number.digits.end(), [](char d) { return d == '0'; });
}

}  // namespace

FieldReader FieldReader::Open(Env& env, const Text& path, ErrorKind role) {
  return FieldReader(InRole(role, [&] { return ReadFileText(env, path); }), path, role);
}

FieldReader FieldReader::OpenDataSet(Env& env, const Text& path, bool utf8) {
  return FieldReader(
      InRole(ErrorKind::kData, [&] { return DecodeDataFile(env.ReadFile(path), path, utf8); }),
      path, ErrorKind::kData);
}

FieldReader::FieldReader(Text content, Text path, ErrorKind role)
    : content_(std::move(content)), path_(std::move(path)), role_(role) {
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
  return Next(nullptr);
}

Text FieldReader::Next(const Text* what) {
  if (AtEnd()) ThrowPastEnd(what);
  pendingEmpty_ = false;
  const size_t size = content_.size();
  while (pos_ < size && IsBlank(content_[pos_])) ++pos_;
  fieldStart_ = pos_;
  if (pos_ >= size) {
    openEnd_ = true;
    return Text();
  }

  Text value;
  size_t stop;  // where the field's terminator search starts
  if (content_[pos_] == u'"') {
    size_t close = content_.find(u'"', pos_ + 1);
    if (close == Text::npos) {
      unclosedQuote_ = pos_;
      value = content_.substr(pos_ + 1);
      stop = size;
    } else {
      value = content_.substr(pos_ + 1, close - pos_ - 1);
      stop = close + 1;
      // Should the file end short, a quote that took a line end is the likely cause.
      if (!quoteOverLineEnd_ && value.find_first_of(u"\r\n") != Text::npos)
        quoteOverLineEnd_ = pos_;
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
  Text raw = Next(&what);
  Text t = Trim(NarrowNumerals(raw));
  if (t.empty()) return 0.0;
  std::optional<double> v = ostra::ReadNumber(t);
  if (!v) ThrowBadValue(Problem::kNotANumber, {what, raw});
  return *v;
}

Count FieldReader::ReadCount(const Text& what, int max) {
  Text raw = Next(&what);
  Count count{0, fieldStart_, what};
  // A count is a whole number as written: not empty, and without a fraction however small
  // ("1e-400" is no count even though it is 0 as a double).
  const std::optional<DecimalNumber> number = ParseDecimal(Trim(NarrowNumerals(raw)));
  if (!number && !Trim(NarrowNumerals(raw)).empty())
    ThrowBadValue(Problem::kNotANumber, {what, raw});
  const std::optional<double> v = number ? number->ToDouble() : std::nullopt;
  if (!v || (number->negative && !number->IsZero()) || *v > 32767 || !IsWhole(*number))
    ThrowBadValue(Problem::kBadCount, {what, raw});
  count.value = static_cast<int>(*v);
  if (count.value > max) ThrowBadValue(Problem::kTooManyFields, {what, raw, IntText(max)});
  return count;
}

void FieldReader::ReadRecord(RecordFields& fields, int count) {
  if (!block_.active) {
    for (int i = 1; i <= count; ++i) fields[i] = Next(nullptr);
    return;
  }
  ++block_.record;
  for (int i = 1; i <= count; ++i) {
    block_.field = i;
    fields[i] = Next(nullptr);
    if (i == 1) block_.recordStart = fieldStart_;
  }
  if (block_.record >= block_.records.value) block_.active = false;
}

void FieldReader::CheckLimit(const Count& count) const {
  if (count.value <= kMaxFields) return;
  const Text value = IntText(count.value);
  throw ProblemError(Problem::kTooManyFields, {count.what, value, IntText(kMaxFields)}, path_,
                     role_, PlaceFor(count.offset, value));
}

void FieldReader::BeginBlock(const Count& records, const Count& fields) {
  CheckLimit(fields);
  block_ = Block{records.value > 0, false, records, fields, 0, 0, 0};
}

void FieldReader::BeginItems(const Count& items) {
  CheckLimit(items);
  // One record of `items` fields.
  block_ = Block{items.value > 0, true, Count{1, items.offset, items.what}, items, 0, 0, 0};
}

TextPlace FieldReader::PlaceOf(size_t offset) const {
  offset = std::min(offset, content_.size());
  // Lines are counted on from the last place asked for, so that asking field after field
  // costs what reading them did.
  if (offset < placeOffset_) {
    placeOffset_ = 0;
    placeLine_ = 1;
  }
  placeLine_ += static_cast<long>(
      LineNumberAt(TextView(content_).substr(placeOffset_), offset - placeOffset_) - 1);
  placeOffset_ = offset;
  return TextPlace{placeLine_, static_cast<long>(ColumnAt(content_, offset))};
}

DataPlace FieldReader::PlaceFor(size_t offset, const Text& value) const {
  const TextPlace at = PlaceOf(offset);
  DataPlace place{at.line, at.column, 0, 0, 0, value};
  if (block_.active && block_.record > 0) {
    place.record = block_.items ? 0 : block_.record;
    place.recordCount = block_.items ? 0 : block_.records.value;
    place.field = block_.field;
  }
  return place;
}

void FieldReader::ThrowBadValue(Problem problem, std::vector<Text> values) const {
  const Text value = values[1];  // the value as read
  throw ProblemError(problem, std::move(values), path_, role_, PlaceFor(fieldStart_, value));
}

void FieldReader::ThrowPastEnd(const Text* what) const {
  // The data ends after its last character that is no blank or line end.
  size_t end = content_.size();
  while (end > 0 && (IsBlank(content_[end - 1]) || IsLineEnd(content_[end - 1]))) --end;
  PastEndFacts facts;
  facts.path = path_;
  facts.end = PlaceOf(end);
  if (what != nullptr) facts.wanted = *what;
  if (unclosedQuote_) facts.unclosedQuote = PlaceOf(*unclosedQuote_);
  if (quoteOverLineEnd_) facts.quoteOverLineEnd = PlaceOf(*quoteOverLineEnd_);
  DataPlace place = PlaceFor(end, Text());
  if (block_.active) {
    // ReadRecord counts the record and field before it reads them.
    const int field = block_.record == 0 ? 1 : block_.field;
    const int record = block_.record == 0 ? 1 : block_.record;
    facts.inBlock = true;
    facts.items = block_.items;
    facts.record = record;
    facts.field = field;
    facts.records = block_.items ? block_.fields.value : block_.records.value;
    if (!block_.items && field > 1) facts.recordStart = PlaceOf(block_.recordStart);
    facts.countWhat = block_.items ? block_.fields.what : block_.records.what;
    const Count& count = block_.items ? block_.fields : block_.records;
    if (count.offset != Count::kFixed) facts.countAt = PlaceOf(count.offset);
    place.record = block_.items ? 0 : record;
    place.recordCount = block_.items ? 0 : block_.records.value;
    place.field = field;
  }
  PastEndError error(role_, std::move(facts));
  error.SetPlace(std::move(place));
  throw error;
}

std::vector<Text> LineFields(const Text& line) {
  std::vector<Text> fields;
  FieldReader reader(line, Text());
  while (!reader.AtEnd()) fields.push_back(reader.ReadText());
  return fields;
}

}  // namespace ostra
