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
#include "convert/section_unit.h"
#include "convert/title.h"
#include "env/files.h"
#include "formats/code_table.h"
#include "formats/section_file.h"
#include "run/validate_path.h"

namespace ostra {

namespace {

constexpr size_t kL4Rows = 50;
constexpr size_t kL10Rows = 40;

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

class Conversion {
 public:
  Conversion(AppState& app, Env& files, UiPort& ui)
      : app_(app),
        files_(files),
        tables_(files, app.patdatFolder),
        recordingUi_(ui, report_.warnings),
        ui_(recordingUi_) {
    env_.files = &files;
    env_.tables = &tables_;
    env_.patdatFolder = app.patdatFolder;
    env_.ui = &recordingUi_;
  }

  RunOutcome Run(const Text& text1, const Text& text2);

 private:
  RunOutcome Stop();
  RunOutcome Finish(RunOutcome outcome);
  bool AskForDestination();
  void CreateDestination();
  void SnapshotTables();
  void CollectReport();
  void NoteOutput(const Text& name);
  bool LockReferenceFolder();
  void LoadTables();
  // Converts one section: false when its header check failed (the check has said why).
  bool ConvertSection(const SectionUnit& unit);
  SectionRun Sections();
  Text Out(const Text& name) const { return outDir_ + name; }

  AppState& app_;
  Env& files_;
  ReferenceFolder tables_;
  RunReport report_;
  RecordingUi recordingUi_;
  UiPort& ui_;
  RunEnv env_;
  std::map<Text, TableSnapshot> tablesBefore_;
  std::vector<Text> missingLevels_;  // destination levels to create, parent before child
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
  // The destination's components are written into CNT.TXT: each character must have a code
  // page 932 form.
  if (const size_t bad = FindUnencodable(destination_); bad != Text::npos) {
    ui_.ShowMessage(u"変換先フォルダ \"" + destination_ + u"\" の文字「" +
                        CharacterAt(destination_, bad) +
                        u"」は Shift-JIS（コードページ 932）にない文字です。変換できません。",
                    MsgIcon::kExclamation, Text());
    return Stop();
  }
  if (destination_.size() > 3 && destination_.back() == u'\\') destination_.pop_back();
  outDir_ = destination_.back() == u'\\' ? destination_ : destination_ + u"\\";
  report_.source = source_;
  report_.destination = destination_;
  report_.patdatFolder = env_.patdatFolder;

  try {
    if (!AskForDestination()) return Stop();

    std::int16_t k = CountChars(source_, u"\\");
    SplitPath(source_, u"\\", components_);
    sourceFileName_ = components_[static_cast<size_t>(k) + 1];

    ui_.SetBusy(true);
    busy_ = true;
    // Nothing has changed before the lock is held: a run given up while it waits leaves the
    // destination and the reference folder as they were.
    if (!LockReferenceFolder()) return Stop();
    CreateDestination();
    SnapshotTables();
    LoadTables();

    for (const SectionUnit& unit : kSectionUnits) {
      if (!ConvertSection(unit)) return Stop();
    }
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

// Asks once when a level of the destination is missing and notes the missing levels, parent
// before child. False when the user declines.
bool Conversion::AskForDestination() {
  std::int16_t k = CountChars(destination_, u"\\");
  SplitPath(destination_, u"\\", components_);
  Text level = components_[1];
  for (int i = 2; i <= k + 1; ++i) {
    level += u"\\" + components_[static_cast<size_t>(i)];
    if (components_[static_cast<size_t>(i)].empty()) continue;
    if (!missingLevels_.empty() || !files_.PathExists(level)) missingLevels_.push_back(level);
  }
  if (missingLevels_.empty()) return true;
  return ui_.AskYesNo(kMsgCreateFolder, Text());
}

// Creates the levels the user agreed to, those that still do not exist.
void Conversion::CreateDestination() {
  for (const Text& p : missingLevels_) {
    if (!files_.PathExists(p)) files_.MakeFolder(p);
  }
}

// Only one run at a time reads and extends a reference folder: the lock is held until the run
// ends (the system releases it should the process die). A run that finds the folder in use
// waits, saying so, and gives up after a while; false when the user gave it up meanwhile.
bool Conversion::LockReferenceFolder() {
  const Text path = env_.Table(kLockFileName);
  const auto deadline = files_.Now() + app_.lockWait;
  bool waiting = false;
  while (true) {
    if (ui_.CancelRequested()) return false;
    try {
      lock_ = files_.TryLock(path);
    } catch (const FileError& e) {
      // Unguarded, two runs could give one code to two names: no run goes on without the lock.
      throw RunError(e.Message() + u"参照フォルダをロックできないため、変換を中止しました。");
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
  return true;
}

void Conversion::LoadTables() {
  l4Table_ = tables_.Codes(u"L4.TXT", kL4Rows);
  l10Table_ = tables_.Codes(u"L10.TXT", kL10Rows);
}

SectionRun Conversion::Sections() {
  return SectionRun{env_,     outDir_,   destination_,
                    fields_,  itemsA_,   itemsB_,
                    l4Table_, l10Table_, [this](const Text& name) { NoteOutput(name); }};
}

bool Conversion::ConvertSection(const SectionUnit& unit) {
  // The MDT file is the source itself; its siblings replace the first three characters of its
  // name.
  const bool isSource = unit.name == kSectionUnits[0].name;
  const Text name = isSource ? source_ : SectionFileName(source_, sourceFileName_, unit.name);
  if (!isSource) {
    if (files_.FolderExists(name)) {
      throw RunError(u"\"" + name + u"\" はファイルではなくフォルダです。変換できません。");
    }
    // A missing section file is skipped; an empty one is skipped and removed.
    if (files_.FileSize(name) < 1) {
      if (files_.FileExists(name)) {
        files_.RemoveFile(name);
        report_.sections.push_back({unit.name, name, RunReport::SectionStatus::kEmptyDeleted});
      } else {
        report_.sections.push_back({unit.name, name, RunReport::SectionStatus::kMissing});
      }
      return true;
    }
  }
  if (!CheckSectionHeader(files_, name, unit.headerFields, ui_)) return false;
  bool utf8 = false;
  FieldReader reader = FieldReader::OpenDataSet(files_, name, utf8);
  report_.sections.push_back({unit.name, name, RunReport::SectionStatus::kConverted, utf8});
  unit.convert(Sections(), reader);
  return true;
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
    ui.ShowMessage(u"エラー `" + IntText(e.Code()) + u" " + e.Description() + u"\r`" + path +
                       u"` のヘッダーが不正です。変換できません",
                   MsgIcon::kNone, Text());
    return false;
  }
}

Text SectionFileName(const Text& sourcePath, const Text& sourceFileName, const Text& section) {
  size_t p = sourcePath.find(sourceFileName);
  if (p == Text::npos || sourceFileName.empty()) p = sourcePath.size();
  Text name = sourcePath.substr(0, p) + section;
  if (p + 3 < sourcePath.size()) name += sourcePath.substr(p + 3);
  return name;
}

}  // namespace ostra
