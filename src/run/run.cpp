#include "run/run.h"

#include <chrono>
#include <cstdlib>
#include <optional>
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
#include "formats/table_append.h"
#include "run/error_text.h"
#include "run/recording_ui.h"
#include "run/run_record.h"
#include "run/stop_error.h"
#include "run/validate_path.h"

namespace ostra {

namespace {

constexpr size_t kL4Rows = 50;
constexpr size_t kL10Rows = 40;

constexpr const char16_t* kLockFileName = u"OSTRACONV.LCK";
constexpr auto kLockPollInterval = std::chrono::milliseconds(100);

// The tables kept from an earlier run when they are of this folder, else a fresh set.
ReferenceFolder& TablesFor(AppState& app, Env& files, std::optional<ReferenceFolder>& own) {
  if (app.tables && app.tables->Folder() == app.patdatFolder && &app.tables->Files() == &files)
    return *app.tables;
  return own.emplace(files, app.patdatFolder);
}

class Conversion {
 public:
  Conversion(AppState& app, Env& files, UiPort& ui)
      : app_(app),
        files_(files),
        tables_(TablesFor(app, files, ownTables_)),
        recordingUi_(ui, report_.warnings),
        ui_(recordingUi_) {
    env_.files = &files;
    env_.tables = &tables_;
    env_.patdatFolder = app.patdatFolder;
    env_.ui = &recordingUi_;
  }

  // Every failure ends here as one message and a report: nothing escapes.
  RunOutcome Run(const Text& text1, const Text& text2);

 private:
  RunOutcome Steps(const Text& text1, const Text& text2);
  RunOutcome Stop();
  // Shows why the run stops (unless `shown` is false) and keeps it for the report.
  RunOutcome StopWith(const Text& message, ErrorKind kind, const Text& file,
                      MsgIcon icon = MsgIcon::kNone, bool shown = true,
                      const std::optional<DataPlace>& place = std::nullopt);
  RunOutcome Finish(RunOutcome outcome);
  void NoteLeftovers();
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
  std::optional<ReferenceFolder> ownTables_;
  ReferenceFolder& tables_;
  RunReport report_;
  RecordingUi recordingUi_;
  UiPort& ui_;
  RunEnv env_;
  std::vector<std::pair<Text, TableSnapshot>> tablesBefore_;
  std::vector<Text> missingLevels_;  // destination levels to create, parent before child
  bool busy_ = false;

  Text given_;  // the destination as given
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

RunOutcome Conversion::StopWith(const Text& message, ErrorKind kind, const Text& file, MsgIcon icon,
                                bool shown, const std::optional<DataPlace>& place) {
  if (shown) ui_.ShowMessage(message, icon, Text());
  report_.error = StopError(message, file, kind, place);
  return Stop();
}

// Files of the output family that an earlier conversion left in the destination.
void Conversion::NoteLeftovers() {
  const std::vector<Text> left = Leftovers(files_, outDir_, report_.outputs);
  if (!left.empty()) ui_.Warn(LeftoversWarning(left));
}

RunOutcome Conversion::Stop() {
  if (busy_) ui_.SetBusy(false);
  busy_ = false;
  ui_.SetStatus(Text());
  return Finish(RunOutcome::kStopped);
}

// Hands the report to the window, also for a run that stopped part way.
RunOutcome Conversion::Finish(RunOutcome outcome) {
  report_.completed = outcome == RunOutcome::kCompleted;
  // Still under the lock: what the tables hold now is what the next run may start from.
  try {
    if (report_.completed) {
      tables_.MarkCurrent();
    } else {
      tables_.Forget();
    }
  } catch (const std::exception&) {
    tables_.Forget();
  }
  try {
    CollectReport();
  } catch (const std::exception&) {
    // The report is a courtesy: a file that vanished or cannot be read meanwhile is left out.
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
  for (const char16_t* table : kWatchedTables) {
    const Text path = env_.Table(table);
    tablesBefore_.emplace_back(path, Snapshot(files_, path));
  }
}

void Conversion::CollectReport() {
  // Files the run wrote and that are still there (a working file is removed again).
  std::vector<RunReport::Output> outputs;
  for (RunReport::Output& o : report_.outputs) {
    if (!files_.FileExists(Out(o.file))) continue;
    o.lines = static_cast<long>(ReadFileLines(files_, Out(o.file)).size());
    o.bytes = files_.FileSize(Out(o.file));
    outputs.push_back(o);
  }
  report_.outputs = std::move(outputs);
  report_.tables = TableChanges(files_, tablesBefore_);
}

RunOutcome Conversion::Run(const Text& text1, const Text& text2) {
  given_ = Trim(text2);
  try {
    return Steps(text1, text2);
  } catch (const RunError& e) {
    return StopWith(ErrorMessage(e), e.Kind(), e.File(), MsgIcon::kCritical, true, e.Place());
  } catch (const std::exception& e) {
    return StopWith(ErrorMessage(e), ErrorKind::kSystem, Text(), MsgIcon::kCritical);
  }
}

RunOutcome Conversion::Steps(const Text& text1, const Text& text2) {
  ui_.SetStatus(kMsgConverting);
  ui_.ProcessEvents();

  // The run goes on with the destination as the check normalised it.
  Text checked = text2;
  if (!InRole(ErrorKind::kDestination, [&] { return ValidatePath(files_, checked, ui_); })) {
    ui_.ShowMessage(kMsgBadPath, MsgIcon::kExclamation, text2);
    ui_.SelectDestination();
    return StopWith(kMsgBadPath, ErrorKind::kDestination, text2, MsgIcon::kExclamation, false);
  }
  source_ = Trim(text1);
  if (source_.empty()) return StopWith(kMsgNoSource, ErrorKind::kData, Text());
  if (Trim(text2).empty()) return StopWith(kMsgNoDestination, ErrorKind::kDestination, Text());
  if (!InRole(ErrorKind::kData, [&] { return files_.IsSelectable(source_); }))
    return StopWith(kMsgNoSource, ErrorKind::kData, source_);
  destination_ = checked;
  // The destination's components are written into CNT.TXT: each character must have a code
  // page 932 form.
  if (const size_t bad = FindUnencodable(destination_); bad != Text::npos) {
    return StopWith(u"変換先フォルダ \"" + destination_ + u"\" の文字「" +
                        CharacterAt(destination_, bad) +
                        u"」は Shift-JIS（コードページ 932）にない文字です。変換できません。",
                    ErrorKind::kDestination, destination_, MsgIcon::kExclamation);
  }
  if (destination_.size() > 3 && destination_.back() == u'\\') destination_.pop_back();
  outDir_ = destination_.back() == u'\\' ? destination_ : destination_ + u"\\";
  report_.source = source_;
  report_.destination = destination_;
  report_.patdatFolder = env_.patdatFolder;

  {
    if (!InRole(ErrorKind::kDestination, [&] { return AskForDestination(); })) {
      // The question was the message: a No ends the run without another word.
      return StopWith(u"変換先フォルダを作成しないことが選ばれたため、変換を中止しました。",
                      ErrorKind::kDeclined, destination_, MsgIcon::kNone, false);
    }

    std::int16_t k = CountChars(source_, u"\\");
    SplitPath(source_, u"\\", components_);
    sourceFileName_ = components_[static_cast<size_t>(k) + 1];
    CheckDataSetFiles(files_, source_);

    ui_.SetBusy(true);
    busy_ = true;
    // Nothing has changed before the lock is held: a run given up while it waits leaves the
    // destination and the reference folder as they were.
    if (!LockReferenceFolder()) {
      return StopWith(u"他の変換を待つ間に、変換を取りやめました。", ErrorKind::kDeclined,
                      env_.Table(kLockFileName), MsgIcon::kNone, false);
    }
    tables_.DropIfChanged();
    tables_.CheckFiles(kReadTables, kWrittenTables);
    // One encoding for all the data set's files, before anything is written; a file that
    // cannot be read fails as its header check would.
    try {
      report_.encoding = DecideDataSetEncoding(files_, DataSetFiles(source_), app_.encoding);
    } catch (const FileError& e) {
      ShowHeaderFailure(ui_, e, e.File());
      return StopWith(recordingUi_.lastMessage, ErrorKind::kData, e.File(), MsgIcon::kNone, false);
    }
    // Holding the lock, this run knows that no other run is writing a temporary table.
    strata::RemoveRewriteLeftovers(files_, env_.patdatFolder);
    InRole(ErrorKind::kDestination, [&] { CreateDestination(); });
    InRole(ErrorKind::kReferenceFolder, [&] { SnapshotTables(); });
    LoadTables();

    for (const SectionUnit& unit : kSectionUnits) {
      if (!ConvertSection(unit)) return Stop();
    }
    InRole(ErrorKind::kDestination, [&] { NoteLeftovers(); });
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
    // Unguarded, two runs could give one code to two names: no run goes on without the lock.
    lock_ = InRole(ErrorKind::kLock, [&] { return files_.TryLock(path); });
    if (lock_ != nullptr) break;
    if (files_.Now() >= deadline) {
      throw ProblemError(Problem::kFolderInUse, {env_.patdatFolder}, path, ErrorKind::kLock);
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
    // A missing section file is skipped; so is an empty one, left as it is: the run writes
    // nothing into the data set's folder. (Folders and the like were refused before.)
    const std::int64_t size = InRole(ErrorKind::kData, [&] { return files_.FileSize(name); });
    if (size < 1) {
      const bool empty = size == 0;
      report_.sections.push_back(
          {unit.name, name,
           empty ? RunReport::SectionStatus::kEmptySkipped : RunReport::SectionStatus::kMissing});
      return true;
    }
  }
  if (!CheckSectionHeader(files_, name, unit.headerFields, ui_)) {
    report_.error = StopError(recordingUi_.lastMessage, name, ErrorKind::kData);
    return false;
  }
  const bool utf8 = report_.encoding && report_.encoding->utf8;
  FieldReader reader = FieldReader::OpenDataSet(files_, name, utf8);
  report_.sections.push_back({unit.name, name, RunReport::SectionStatus::kConverted, utf8});
  // What the converter's own file access fails on is the destination it writes.
  InRole(ErrorKind::kDestination, [&] { unit.convert(Sections(), reader); });
  return true;
}

}  // namespace

RunOutcome Command1_Click(AppState& app, Env& env, UiPort& ui, const Text& text1,
                          const Text& text2) {
  Conversion conversion(app, env, ui);
  return conversion.Run(text1, text2);
}

}  // namespace ostra
