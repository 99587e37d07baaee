#include "run/run.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>

#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "convert/run_env.h"
#include "convert/sections.h"
#include "convert/strata.h"
#include "convert/title.h"
#include "env/files.h"
#include "formats/code_table.h"
#include "formats/section_file.h"
#include "run/validate_path.h"

namespace ostra {

namespace {

constexpr size_t kL4Rows = 50;
constexpr size_t kL10Rows = 40;
constexpr int kLdtTestRecords = 20;

// Names of values in messages about bad section data.
constexpr const char16_t* kWhatHeader = u"ヘッダー値";
constexpr const char16_t* kWhatItems = u"ヘッダー項目数";
constexpr const char16_t* kWhatRecords = u"レコード数";
constexpr const char16_t* kWhatFields = u"項目数";

Text Decimal(long long v) {
  std::string s = std::to_string(v);
  return Text(s.begin(), s.end());
}

// Field count of a block about to be read: at most 40 fields fit the record buffer.
void CheckFieldCount(const FieldReader& reader, int fields) {
  if (fields > kMaxFields) {
    throw RunError(MsgTooManyFields(reader.Path(), kWhatFields, fields, kMaxFields));
  }
}

constexpr const char16_t* kLockFileName = u"OSTRACONV.LCK";
constexpr auto kLockPollInterval = std::chrono::milliseconds(100);

// Reference tables a run may create or extend; the report lists the lines each one gains.
constexpr const char16_t* kWatchedTables[] = {
    u"KISHITU.TXT", u"XKISHITU.TXT", u"L13.TXT", u"L14.TXT", u"L15.TXT",
    u"L16.TXT",     u"L17.TXT",      u"L1.TXT",  u"L2.TXT",  u"L3.TXT"};

// Passes everything on to the window, keeping the warnings for the report.
class RecordingUi : public ForwardingUi {
 public:
  RecordingUi(UiPort& ui, std::vector<Text>& warnings) : ForwardingUi(ui), warnings_(warnings) {}
  void Warn(const Text& text) override {
    warnings_.push_back(text);
    ForwardingUi::Warn(text);
  }

 private:
  std::vector<Text>& warnings_;
};

// The lines of a table as they stand (nothing when the table does not exist).
struct TableSnapshot {
  bool exists = false;
  std::vector<Text> lines;
};

TableSnapshot Snapshot(Env& env, const Text& path) {
  TableSnapshot s;
  s.exists = env.FileExists(path);
  if (s.exists) s.lines = SplitLines(ReadFileText(env, path));
  return s;
}

// The lines of `after` that `before` does not hold (counting repeats), in file order.
std::vector<Text> LinesGained(const std::vector<Text>& before, const std::vector<Text>& after) {
  std::map<Text, int> seen;
  for (const Text& line : before) ++seen[line];
  std::vector<Text> gained;
  for (const Text& line : after) {
    auto it = seen.find(line);
    if (it != seen.end() && it->second > 0) {
      --it->second;
    } else {
      gained.push_back(line);
    }
  }
  return gained;
}

// Reads a header value that the conversion does not use; it must still be a number.
void SkipHeaderValue(FieldReader& reader) {
  reader.ReadNumber(kWhatHeader);
}

// The six header values of the BDT and CDT sections, h1, R, F, h4, h5, h6: the record count R
// and the field count F.
std::pair<int, int> ReadSixValueHeader(FieldReader& reader) {
  SkipHeaderValue(reader);
  const int records = reader.ReadCount(kWhatRecords);
  const int fields = reader.ReadCount(kWhatFields);
  SkipHeaderValue(reader);
  SkipHeaderValue(reader);
  SkipHeaderValue(reader);
  return {records, fields};
}

class Conversion {
 public:
  Conversion(AppState& app, Env& files, UiPort& ui)
      : app_(app), files_(files), recordingUi_(ui, report_.warnings), ui_(recordingUi_) {
    env_.files = &files;
    env_.patdatFolder = app.patdatFolder;
    env_.ui = &recordingUi_;
  }

  RunOutcome Run(const Text& text1, const Text& text2);

 private:
  RunOutcome Stop();
  RunOutcome Finish(RunOutcome outcome);
  bool PrepareDestination();
  void SnapshotTables();
  void CollectReport();
  OutFile Create(const Text& name);
  void NoteOutput(const Text& name);
  // Reads a block of `records` records of `fields` fields into the record buffer, handing each
  // to `convert` with the block's output file `name` and its line counter.
  template <typename Convert>
  void ConvertBlock(FieldReader& reader, const Text& name, int records, int fields,
                    Convert convert);
  void LockReferenceFolder();
  void LoadTables();
  bool ConvertMdt();
  bool ConvertSibling(const Text& section, std::int16_t headerCount);
  void WriteCnt();
  void ConvertLayers(FieldReader& reader, int records, int fields);
  void ConvertSecondBlock(FieldReader& reader);
  void ConvertBdt(FieldReader& reader);
  void ConvertKdt(FieldReader& reader);
  void ConvertNdt(FieldReader& reader);
  void ConvertLdt(FieldReader& reader);
  void ConvertCdt(FieldReader& reader);
  Text Out(const Text& name) const { return outDir_ + name; }

  AppState& app_;
  Env& files_;
  RunReport report_;
  RecordingUi recordingUi_;
  UiPort& ui_;
  RunEnv env_;
  std::map<Text, TableSnapshot> tablesBefore_;
  bool busy_ = false;

  Text source_;
  Text sourceFileName_;
  Text destination_;  // normalised, without a trailing "\" (but "X:\" for a drive's root)
  Text outDir_;       // destination followed by one "\"
  PathComponents components_;
  RecordFields fields_;
  TitleItems itemsA_;
  TitleItems itemsB_;
  CodeTable l4Table_;
  CodeTable l10Table_;
  std::unique_ptr<HeldLock> lock_;
};

RunOutcome Conversion::Stop() {
  if (busy_) ui_.SetBusy(false);
  busy_ = false;
  ui_.SetStatus(Text());
  return Finish(RunOutcome::kStopped);
}

// Hands the report to the window, also for a run that stopped part way.
RunOutcome Conversion::Finish(RunOutcome outcome) {
  report_.completed = outcome == RunOutcome::kCompleted;
  try {
    CollectReport();
  } catch (const RunError&) {
    // The report is a courtesy: a file that vanished meanwhile is left out of it.
  }
  app_.lastReport = report_;
  return outcome;
}

OutFile Conversion::Create(const Text& name) {
  OutFile file(files_, Out(name));
  NoteOutput(name);
  return file;
}

template <typename Convert>
void Conversion::ConvertBlock(FieldReader& reader, const Text& name, int records, int fields,
                              Convert convert) {
  CheckFieldCount(reader, fields);
  OutFile out = Create(name);
  std::int16_t counter = 1;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(fields_, fields);
    convert(out, counter);
  }
  out.Close();
}

void Conversion::NoteOutput(const Text& name) {
  for (const RunReport::Output& o : report_.outputs) {
    if (o.file == name) return;
  }
  report_.outputs.push_back({name, 0});
}

void Conversion::SnapshotTables() {
  for (const char16_t* table : kWatchedTables)
    tablesBefore_[table] = Snapshot(files_, env_.Table(table));
}

void Conversion::CollectReport() {
  for (RunReport::Output& o : report_.outputs) {
    o.lines = files_.FileExists(Out(o.file))
                  ? static_cast<long>(ReadFileLines(files_, Out(o.file)).size())
                  : 0;
  }
  report_.tables.clear();
  for (const char16_t* table : kWatchedTables) {
    auto before = tablesBefore_.find(table);
    if (before == tablesBefore_.end()) continue;
    TableSnapshot after = Snapshot(files_, env_.Table(table));
    RunReport::TableChange change;
    change.file = table;
    change.created = after.exists && !before->second.exists;
    change.added = LinesGained(before->second.lines, after.lines);
    if (change.created || !change.added.empty()) report_.tables.push_back(std::move(change));
  }
}

RunOutcome Conversion::Run(const Text& text1, const Text& text2) {
  ui_.SetStatus(kMsgConverting);
  ui_.ProcessEvents();

  // The run goes on with the destination as the check normalised it.
  Text checked = text2;
  if (!ValidatePath(files_, checked, ui_)) {
    ui_.ShowMessage(kMsgBadPath, MsgIcon::kExclamation, text2);
    ui_.SelectDestination();
    return Stop();
  }
  source_ = Trim(text1);
  if (source_.empty()) {
    ui_.ShowMessage(kMsgNoSource, MsgIcon::kNone, Text());
    return Stop();
  }
  if (Trim(text2).empty()) {
    ui_.ShowMessage(kMsgNoDestination, MsgIcon::kNone, Text());
    return Stop();
  }
  if (!files_.IsSelectable(source_)) {
    ui_.ShowMessage(kMsgNoSource, MsgIcon::kNone, Text());
    return Stop();
  }
  destination_ = checked;
  if (destination_.size() > 3 && destination_.back() == u'\\') destination_.pop_back();
  outDir_ = destination_.back() == u'\\' ? destination_ : destination_ + u"\\";
  report_.source = source_;
  report_.destination = destination_;
  report_.patdatFolder = env_.patdatFolder;

  try {
    if (!PrepareDestination()) return Stop();

    std::int16_t k = CountChars(source_, u"\\");
    SplitPath(source_, u"\\", components_);
    sourceFileName_ = components_[static_cast<size_t>(k) + 1];

    ui_.SetBusy(true);
    busy_ = true;
    LockReferenceFolder();
    SnapshotTables();
    LoadTables();

    if (!ConvertMdt()) return Stop();
    if (!ConvertSibling(u"BDT", 6)) return Stop();
    if (!ConvertSibling(u"KDT", 3)) return Stop();
    if (!ConvertSibling(u"NDT", 3)) return Stop();
    if (!ConvertSibling(u"LDT", 3)) return Stop();
    if (!ConvertSibling(u"CDT", 6)) return Stop();
  } catch (const RunError& e) {
    ui_.ShowMessage(e.Message(), MsgIcon::kCritical, Text());
    return Stop();
  } catch (const std::exception& e) {
    ui_.ShowMessage(u"変換中に予期しないエラーが発生しました。変換を中止しました。(" +
                        FromUtf8(e.what()) + u")",
                    MsgIcon::kCritical, Text());
    return Stop();
  }

  app_.completionShown = true;
  ui_.SetStatus(kMsgCompleted);
  if (busy_) ui_.SetBusy(false);
  busy_ = false;
  return Finish(RunOutcome::kCompleted);
}

// Asks once when a level of the destination is missing, then creates every missing level,
// parent before child. False when the user declines.
bool Conversion::PrepareDestination() {
  std::int16_t k = CountChars(destination_, u"\\");
  SplitPath(destination_, u"\\", components_);
  std::vector<Text> levels;
  Text level = components_[1];
  for (int i = 2; i <= k + 1; ++i) {
    level += u"\\" + components_[static_cast<size_t>(i)];
    if (components_[static_cast<size_t>(i)].empty()) continue;
    levels.push_back(level);
  }
  bool missing = false;
  for (const Text& p : levels) {
    if (!files_.PathExists(p)) {
      missing = true;
      break;
    }
  }
  if (!missing) return true;
  if (!ui_.AskYesNo(kMsgCreateFolder, Text())) return false;
  for (const Text& p : levels) {
    if (!files_.PathExists(p)) files_.MakeFolder(p);
  }
  return true;
}

// Only one run at a time reads and extends a reference folder: the lock is held until the run
// ends (the system releases it should the process die). A run that finds the folder in use
// waits, saying so, and gives up after a while.
void Conversion::LockReferenceFolder() {
  const Text path = env_.Table(kLockFileName);
  const auto deadline = files_.Now() + app_.lockWait;
  bool waiting = false;
  while (true) {
    try {
      lock_ = files_.TryLock(path);
    } catch (const FileError&) {
      return;  // a folder nobody can write to: nothing to guard
    }
    if (lock_ != nullptr) break;
    if (files_.Now() >= deadline) {
      throw RunError(u"参照フォルダ \"" + env_.patdatFolder +
                     u"\" は他の変換で使用中です。しばらくしてからもう一度実行してください。");
    }
    if (!waiting) {
      waiting = true;
      ui_.SetStatus(u"参照フォルダを他の変換が使用中です。終わるまでお待ちください。");
    }
    ui_.ProcessEvents();
    files_.Sleep(kLockPollInterval);
  }
  if (waiting) ui_.SetStatus(kMsgConverting);
}

void Conversion::LoadTables() {
  l4Table_ = LoadCodeTable(files_, env_.Table(u"L4.TXT"), kL4Rows);
  l10Table_ = LoadCodeTable(files_, env_.Table(u"L10.TXT"), kL10Rows);
}

bool Conversion::ConvertMdt() {
  if (!CheckSectionHeader(files_, source_, 5, ui_)) return false;
  report_.sections.push_back({u"MDT", source_, RunReport::SectionStatus::kConverted});
  FieldReader reader = FieldReader::Open(files_, source_);
  SkipHeaderValue(reader);
  int items = reader.ReadCount(kWhatItems);
  int records = reader.ReadCount(kWhatRecords);
  SkipHeaderValue(reader);
  int fields = reader.ReadCount(kWhatFields);
  if (items > kMaxFields) {
    throw RunError(MsgTooManyFields(reader.Path(), kWhatItems, items, kMaxFields));
  }
  reader.ReadRecord(fields_, items);
  DecodeHeaderItems(env_, fields_, itemsA_, itemsB_);
  if (!files_.FileExists(env_.Table(u"KISHITU.TXT"))) TouchFile(files_, env_.Table(u"KISHITU.TXT"));

  WriteCnt();
  WriteTitleFiles(env_, itemsA_, itemsB_, outDir_);
  for (const char16_t* title : {u"Titl01.txt", u"Titl02.txt"}) {
    if (files_.FileExists(Out(title))) NoteOutput(title);
  }

  if (records != 0 && fields != 0) ConvertLayers(reader, records, fields);
  ConvertSecondBlock(reader);
  return true;
}

void Conversion::WriteCnt() {
  // Components of the destination alone: a short destination leaves the lines empty.
  PathComponents parts;
  SplitPath(destination_, u"\\", parts);
  OutFile cnt = Create(u"CNT.TXT");
  cnt.Line(ByteMid(parts[3], 1, 4));
  cnt.Line(parts[4]);
  cnt.Line(parts[5]);
  cnt.Line(u"4   ");
  cnt.Line(u"1");
  for (int i = 0; i < 5; ++i) cnt.Line();
  cnt.Close();
}

void Conversion::ConvertLayers(FieldReader& reader, int records, int fields) {
  CheckFieldCount(reader, fields);
  OutFile x1 = Create(u"X1.TXT");
  OutFile x3 = Create(u"X3.TXT");
  LayerClassFiles r3;
  for (int k = 1; k <= 5; ++k) {
    r3[static_cast<size_t>(k)] = Create(u"R3" + Decimal(k) + u".TXT");
  }
  LayerCounters layerCounters{0, 1, 1, 1, 1, 1};
  std::int16_t soilCounter = 1;
  std::int16_t layerCodeCounter = 1;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(fields_, fields);
    NameSlots names{Text(), fields_[2], Text()};
    std::int16_t nameCount = 1;
    ConvertSoilName(env_, x1, soilCounter, fields_[1], nameCount, names);
    ConvertLayerCode(x3, layerCodeCounter, fields_[1], fields_[10], l4Table_);
    WriteLayerClasses(env_, r3, layerCounters, fields_[1], fields_);
  }
  x1.Close();
  x3.Close();
  for (int k = 1; k <= 5; ++k) r3[static_cast<size_t>(k)].Close();
}

void Conversion::ConvertSecondBlock(FieldReader& reader) {
  int records = reader.ReadCount(kWhatRecords);
  int fields = reader.ReadCount(kWhatFields);
  int flag = static_cast<int>(reader.ReadNumber(kWhatHeader) != 0.0);
  if (records == 0 || flag == 0) return;
  ConvertBlock(reader, u"X11.TXT", records, fields, [&](OutFile& x11, std::int16_t& counter) {
    if (!fields_[3].empty()) ConvertX11Record(x11, counter, fields_, l10Table_);
  });
}

bool Conversion::ConvertSibling(const Text& section, std::int16_t headerCount) {
  Text name = SectionFileName(source_, sourceFileName_, section);
  if (files_.FolderExists(name)) {
    throw RunError(u"\"" + name + u"\" はファイルではなくフォルダです。変換できません。");
  }
  // A missing section file is skipped; an empty one is skipped and removed.
  if (files_.FileSize(name) < 1) {
    if (files_.FileExists(name)) {
      files_.RemoveFile(name);
      report_.sections.push_back({section, name, RunReport::SectionStatus::kEmptyDeleted});
    } else {
      report_.sections.push_back({section, name, RunReport::SectionStatus::kMissing});
    }
    return true;
  }
  if (!CheckSectionHeader(files_, name, headerCount, ui_)) return false;
  report_.sections.push_back({section, name, RunReport::SectionStatus::kConverted});
  FieldReader reader = FieldReader::Open(files_, name);
  if (section == u"BDT") ConvertBdt(reader);
  if (section == u"KDT") ConvertKdt(reader);
  if (section == u"NDT") ConvertNdt(reader);
  if (section == u"LDT") ConvertLdt(reader);
  if (section == u"CDT") ConvertCdt(reader);
  return true;
}

void Conversion::ConvertBdt(FieldReader& reader) {
  const auto [records, fields] = ReadSixValueHeader(reader);
  if (records == 0 || fields == 0) return;

  CheckFieldCount(reader, fields);
  OutFile n8 = Create(u"N8.TXT");
  OutFile g71 = Create(u"G71.TXT");
  OutFile g73 = Create(u"G73.TXT");
  OutFile g81 = Create(u"G81.TXT");
  std::int16_t c1 = 1, c2 = 1, c3 = 1, c4 = 1;
  const Text yearN8 = TrimLeft(itemsA_[10]);
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(fields_, fields);
    WriteDatedDepth(n8, c1, fields_, yearN8);
    WriteG71(g71, c2, fields_);
    WriteG73(g73, c3, fields_);
    WriteG81(g81, c4, fields_);
  }
  n8.Close();
  g71.Close();
  g73.Close();
  g81.Close();

  SkipHeaderValue(reader);
  int records2 = reader.ReadCount(kWhatRecords);
  int fields2 = reader.ReadCount(kWhatFields);
  if (records2 == 0 || fields2 == 0) return;
  ConvertBlock(reader, u"N9.TXT", records2, fields2, [&](OutFile& n9, std::int16_t& counter) {
    if (!fields_[1].empty()) WriteDatedDepth(n9, counter, fields_, itemsA_[10]);
  });
}

void Conversion::ConvertKdt(FieldReader& reader) {
  SkipHeaderValue(reader);
  int records = reader.ReadCount(kWhatRecords);
  int fields = reader.ReadCount(kWhatFields);
  if (records == 0 || fields == 0) return;
  CheckFieldCount(reader, fields);
  {
    OutFile n12(files_, Out(u"N12.TXT"));
    std::int16_t counter = 1;
    for (int i = 0; i < records; ++i) {
      reader.ReadRecord(fields_, fields);
      size_t paren = fields_[1].find(u')');
      if (paren != Text::npos) fields_[1] = TrimRight(TextView(fields_[1]).substr(0, paren));
      if (!fields_[2].empty()) WriteRemarkLines(n12, counter, fields_[1], fields_[2]);
    }
    n12.Close();
  }
  MergeRemarkLines(files_, Out(u"N12"));
  // With no remark at all there is no merged file, and so no X12.TXT.
  if (files_.FileExists(Out(u"N12.TMP"))) {
    files_.CopyFile(Out(u"N12.TMP"), Out(u"X12.TXT"));
    NoteOutput(u"X12.TXT");
    files_.RemoveFile(Out(u"N12.TMP"));
  }
  files_.RemoveFile(Out(u"N12.TXT"));
}

void Conversion::ConvertNdt(FieldReader& reader) {
  double h1 = reader.ReadNumber(kWhatHeader);
  int records = reader.ReadCount(kWhatRecords);
  int fields = reader.ReadCount(kWhatFields);
  if (h1 != 100.0) return;
  SkipHeaderValue(reader);
  ConvertBlock(reader, u"X5.TXT", records, fields, [&](OutFile& x5, std::int16_t& counter) {
    WriteIntervalRecord(x5, counter, fields_);
  });
}

void Conversion::ConvertLdt(FieldReader& reader) {
  SkipHeaderValue(reader);
  double a = reader.ReadNumber(kWhatHeader);
  int records = reader.ReadCount(kWhatRecords);
  if (a == 0.0) return;
  int fields1 = reader.ReadCount(kWhatFields);
  int fields2 = reader.ReadCount(kWhatFields);
  if (records == 0) return;

  CheckFieldCount(reader, fields1);
  {
    OutFile n7(files_, Out(u"N7Merg.Dat"));
    std::int16_t counter = 1;
    for (int i = 0; i < kLdtTestRecords; ++i) {
      reader.ReadRecord(fields_, fields1);
      if (!Trim(fields_[1]).empty()) WriteTestRecord(n7, counter, fields_);
    }
    n7.Close();
  }
  BuildTestTable(env_, outDir_);
  if (files_.FileExists(Out(u"X7.txt"))) NoteOutput(u"X7.txt");

  if (fields2 == 0) return;
  ConvertBlock(reader, u"N6.TMP", records, fields2, [&](OutFile& n6, std::int16_t& counter) {
    WriteSampleRecord(n6, counter, fields_);
  });
}

void Conversion::ConvertCdt(FieldReader& reader) {
  const auto [records, fields] = ReadSixValueHeader(reader);
  if (records == 0 || fields == 0) return;
  CheckFieldCount(reader, fields);
  CdtList1 list1;
  CdtList2 list2;
  ResetCdtLists(list1, list2);
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(fields_, fields);
    AddCdtRecord(list1, list2, fields_);
  }
  OutFile r41 = Create(u"R41.TXT");
  MergeDepthLists(r41, list1, list2);
  r41.Close();
}

}  // namespace

std::chrono::milliseconds LockWaitSetting(const char* value) {
  if (value != nullptr) {
    char* end = nullptr;
    const long v = std::strtol(value, &end, 10);
    if (end != value && v >= 0) return std::chrono::seconds(v);
  }
  return AppState().lockWait;
}

RunOutcome Command1_Click(AppState& app, Env& env, UiPort& ui, const Text& text1,
                          const Text& text2) {
  Conversion conversion(app, env, ui);
  return conversion.Run(text1, text2);
}

bool CheckSectionHeader(Env& env, const Text& path, std::int16_t n, UiPort& ui) {
  try {
    FieldReader reader = FieldReader::Open(env, path);
    for (int i = 0; i < n; ++i) reader.ReadText();
    return true;
  } catch (const FileError& e) {
    ui.ShowMessage(u"エラー `" + Decimal(e.Code()) + u" " + e.Description() + u"\r`" + path +
                       u"` のヘッダーが不正です。変換できません",
                   MsgIcon::kNone, Text());
    return false;
  }
}

std::int16_t CountChars(const Text& text, const Text& pattern) {
  long long count = 0;
  for (char16_t p : pattern) {
    for (char16_t c : text) count += (c == p);
  }
  return static_cast<std::int16_t>(count > 32767 ? 32767 : count);
}

void SplitPath(const Text& text, const Text& separators, PathComponents& components) {
  size_t slot = 1;
  Text current;
  for (char16_t c : text) {
    if (separators.find(c) != Text::npos) {
      if (slot >= static_cast<size_t>(kMaxPathComponents)) {
        throw RunError(u"パス \"" + text + u"\" の階層が多すぎます。変換できません。");
      }
      components[slot++] = current;
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  components[slot] = current;
}

Text SectionFileName(const Text& sourcePath, const Text& sourceFileName, const Text& section) {
  size_t p = sourcePath.find(sourceFileName);
  if (p == Text::npos || sourceFileName.empty()) p = sourcePath.size();
  Text name = sourcePath.substr(0, p) + section;
  if (p + 3 < sourcePath.size()) name += sourcePath.substr(p + 3);
  return name;
}

}  // namespace ostra
