#include "formats/reference_tables.h"

#include <algorithm>

#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "env/files.h"
#include "formats/table_append.h"

namespace ostra::strata {

namespace {

constexpr char16_t kAnnotationMark = u'（';

struct CodeRange {
  int lo;  // exclusive
  int hi;  // exclusive
};
constexpr std::array<CodeRange, 3> kRanges = {{{4999, 5500}, {999, 4000}, {0, 1000}}};

// The bytes an append adds, decoded as a reader of the file sees them.
Text AppendedText(const Text& line) {
  return DecodeCp932(EncodeCp932(line + u"\r\n"));
}

Text Joined(const std::vector<Text>& lines) {
  Text all;
  for (const Text& l : lines) all += l + u"\r\n";
  return all;
}

}  // namespace

Dictionary::Dictionary(Env& env, const Text& path) : env_(env), path_(path) {
  RequireTable(env_, path);
  Take(ReadTableText(env_, path, true));
}

void Dictionary::Load(const Text& content) {
  reader_ = std::make_unique<FieldReader>(content, path_, ErrorKind::kReferenceFolder);
  readerBehind_ = false;
  linesAreEntries_.reset();
  entries_.clear();
  indexed_ = 0;
  for (auto& m : firstByName_) m.clear();
}

void Dictionary::Take(const Text& content) {
  Load(content);
  lines_ = SplitLines(content);
}

void Dictionary::ReadEntries() {
  while (!readerBehind_ && !reader_->AtEnd()) {
    Entry entry;
    for (Text& field : entry) field = reader_->ReadText();
    entries_.push_back(std::move(entry));
  }
  for (; indexed_ < entries_.size(); ++indexed_) {
    const Entry& e = entries_[indexed_];
    const int code = IntOrZero(e[0]);
    for (size_t r = 0; r < kRanges.size(); ++r) {
      if (code <= kRanges[r].lo || code >= kRanges[r].hi) continue;
      // Both spellings lead to the entry; the first entry in file order keeps a name.
      firstByName_[r].try_emplace(e[1], indexed_);
      firstByName_[r].try_emplace(e[1].substr(0, e[1].find(kAnnotationMark)), indexed_);
    }
  }
}

std::optional<Entry> Dictionary::FindExact(const Text& name) {
  ReadEntries();
  for (const auto& index : firstByName_) {
    auto it = index.find(name);
    if (it == index.end()) continue;
    Entry e = entries_[it->second];
    e[1] = name;
    return e;
  }
  return std::nullopt;
}

void Dictionary::AppendLine(const Text& line) {
  return InRole(ErrorKind::kReferenceFolder, [&]() {
    ReadEntries();
    if (AppendTableLine(env_, path_, line, endTidy_) || readerBehind_) {
      // The file's end was tidied before the line went on: take in the file as it now is.
      Take(ReadFileText(env_, path_));
      return;
    }
    lines_.push_back(DecodeCp932(EncodeCp932(line)));
    if (!reader_->Append(AppendedText(line))) Load(ReadFileText(env_, path_));
  });
}

std::optional<Entry> Dictionary::EntryOfLine(const Text& line) const {
  FieldReader reader(line, path_, ErrorKind::kReferenceFolder);
  Entry entry;
  for (Text& field : entry) {
    if (reader.AtEnd()) return std::nullopt;
    field = reader.ReadText();
  }
  if (!reader.AtEnd()) return std::nullopt;
  return entry;
}

bool Dictionary::LinesAreEntries() {
  ReadEntries();
  if (!linesAreEntries_) {
    bool same = lines_.size() == entries_.size();
    for (size_t i = 0; same && i < lines_.size(); ++i) {
      std::optional<Entry> entry = EntryOfLine(lines_[i]);
      same = entry && *entry == entries_[i];
    }
    linesAreEntries_ = same;
  }
  return *linesAreEntries_;
}

void Dictionary::InsertLine(size_t keep, size_t at, const Text& line) {
  return InRole(ErrorKind::kReferenceFolder, [&]() {
    std::vector<Text> table(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(keep));
    table.insert(table.begin() + static_cast<std::ptrdiff_t>(at), line);
    WriteTableAnew(env_, path_, table);
    endTidy_ = true;  // the file was written anew, every line with its line end
    if (keep != lines_.size()) {
      Take(ReadFileText(env_, path_));  // its end went: take in the file as it now is
      return;
    }
    const Text asRead = DecodeCp932(EncodeCp932(line));
    std::optional<Entry> entry = EntryOfLine(asRead);
    if (entry && LinesAreEntries()) {
      lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), asRead);
      entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), *entry);
      readerBehind_ = true;
      // Entries after the new one moved: index them all again.
      indexed_ = 0;
      for (auto& m : firstByName_) m.clear();
      return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), asRead);
    Take(Joined(lines_));
  });
}

ClassTable::ClassTable(Env& env, const Text& path, bool hasSecondField)
    : env_(env), path_(path), hasSecondField_(hasSecondField) {
  RequireTable(env_, path);
  Load();
}

void ClassTable::Load() {
  reader_ = std::make_unique<FieldReader>(ReadTableText(env_, path_, true), path_,
                                          ErrorKind::kReferenceFolder);
  lastCode_.clear();
  max_ = 0;
}

void ClassTable::ReadRecords() {
  while (!reader_->AtEnd()) {
    const Text code = reader_->ReadText();
    if (hasSecondField_) reader_->ReadText();
    const Text name = ToFullWidth(reader_->ReadText());
    max_ = std::max<int>(max_, IntOrZero(code));
    lastCode_[name] = code;
  }
}

std::optional<Text> ClassTable::LastCode(const Text& wideName) {
  ReadRecords();
  auto it = lastCode_.find(wideName);
  if (it == lastCode_.end()) return std::nullopt;
  return it->second;
}

int ClassTable::MaxCode() {
  ReadRecords();
  return max_;
}

void ClassTable::AppendLine(const Text& line) {
  ReadRecords();
  if (AppendTableLine(env_, path_, line, endTidy_) || !reader_->Append(AppendedText(line))) {
    Load();
  }
}

}  // namespace ostra::strata
