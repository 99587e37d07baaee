#include "run/run.h"

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/drive_path.h"
#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "convert/run_env.h"
#include "convert/section_unit.h"
#include "convert/title.h"
#include "env/files.h"
#include "formats/code_table.h"
#include "formats/run_note.h"
#include "formats/section_file.h"
#include "formats/table_append.h"
#include "run/conversion.h"
#include "run/error_text.h"
#include "run/run_record.h"
#include "run/stop_error.h"
#include "run/validate_path.h"

namespace ostra {

namespace {

constexpr const char16_t* kLockFileName = u"OSTRACONV.LCK";
constexpr auto kLockPollInterval = std::chrono::milliseconds(100);

// The tables kept from an earlier run when they are of this folder, else a fresh set.
ReferenceFolder& TablesFor(const ConversionRequest& request, Env& files,
                           std::optional<ReferenceFolder>& own) {
  if (request.tables && request.tables->Folder() == request.referenceFolder &&
      &request.tables->Files() == &files)
    return *request.tables;
  return own.emplace(files, request.referenceFolder);
}

}  // namespace

HeldReferenceFolder::HeldReferenceFolder(const ConversionRequest& request, Env& files,
                                         WarningSink& warnings)
    : tables(TablesFor(request, files, ownTables)) {
  env.files = &files;
  env.tables = &tables;
  env.patdatFolder = request.referenceFolder;
  env.ui = &warnings;
}

RunReport::Error Conversion::StopFor(StopReason reason, const Text& message, ErrorKind kind,
                                     const Text& file, MsgIcon icon,
                                     const std::optional<DataPlace>& place) const {
  RunReport::Error error = StopError(message, file, kind, place);
  error.reason = reason;
  error.icon = icon;
  // The refused path's box is titled with the destination as it was given.
  if (reason == StopReason::kDriveName || reason == StopReason::kBadPath)
    error.title = request_.destination;
  // The answer No, or giving up the wait, was the user's own word: nothing more is shown.
  error.told = reason == StopReason::kDeclined || reason == StopReason::kGivenUp;
  return error;
}

RunOutcome Conversion::StopWith(StopReason reason, const Text& message, ErrorKind kind,
                                const Text& file, MsgIcon icon,
                                const std::optional<DataPlace>& place) {
  report_.report.error = StopFor(reason, message, kind, file, icon, place);
  return Stop();
}

// Files of the output family that an earlier conversion left in the destination.
void Conversion::NoteLeftovers() {
  const std::vector<Text> left = Leftovers(files_, paths_.outDir, report_.report.outputs);
  if (!left.empty()) report_.Warn(LeftoversWarning(left));
}

RunOutcome Conversion::Stop() {
  return Finish(RunOutcome::kStopped);
}

// Completes the report, also for a run that stopped part way.
RunOutcome Conversion::Finish(RunOutcome outcome) {
  report_.report.completed = outcome == RunOutcome::kCompleted;
  report_.report.markerNotWritten = reference_.env.markerNotWritten;
  if (!report_.report.completed) LeaveRunNote();
  // Still under the lock: what the tables hold now is what the next run may start from.
  try {
    if (report_.report.completed) {
      reference_.tables.MarkCurrent();
    } else {
      reference_.tables.Forget();
    }
  } catch (const std::exception&) {
    reference_.tables.Forget();
  }
  try {
    report_.Collect(files_, paths_);
  } catch (const std::exception&) {
    // The report is a courtesy: a file that vanished or cannot be read meanwhile is left out.
  }
  return outcome;
}

void Conversion::LeaveRunNote() {
  if (!watch_.Begun() || !report_.report.error) return;
  try {
    WriteRunNote(files_, paths_.destination, report_.report.error->message);
  } catch (const std::exception& e) {
    report_.Warn(u"変換が途中で止まったことを変換先フォルダに書き残せませんでした。" +
                 ErrorMessage(e));
  }
}

RunReport Conversion::Run() {
  paths_.given = Trim(request_.destination);
  try {
    Steps();
  } catch (const RunError& e) {
    // The wait for another run's lock ran out: a reason of its own, which a script can tell.
    const auto* problem = dynamic_cast<const ProblemError*>(&e);
    const bool timedOut = problem != nullptr && problem->GetProblem() == Problem::kFolderInUse;
    StopWith(timedOut ? StopReason::kLockTimedOut : StopReason::kFailed, ErrorMessage(e), e.Kind(),
             e.File(), MsgIcon::kCritical, e.Place());
  } catch (const std::exception& e) {
    StopWith(StopReason::kUnexpected, ErrorMessage(e), ErrorKind::kSystem, Text(),
             MsgIcon::kCritical);
  }
  return std::move(report_.report);
}

RunOutcome Conversion::Steps() {
  const Text& given = request_.destination;
  // The run goes on with the destination as the check normalised it.
  Text checked = given;
  PathRefusal why;
  switch (InRole(ErrorKind::kDestination, [&] { return ValidatePath(files_, checked, &why); })) {
    case PathCheck::kAccepted:
      break;
    case PathCheck::kNoDriveName:
      return StopWith(StopReason::kDriveName, kMsgBadPath, ErrorKind::kDestination, given,
                      MsgIcon::kExclamation);
    case PathCheck::kRefused:
      return StopWith(StopReason::kBadPath, kMsgBadPath + PathRefusalText(why),
                      ErrorKind::kDestination, given, MsgIcon::kExclamation);
  }
  paths_.source = Trim(request_.source);
  if (paths_.source.empty())
    return StopWith(StopReason::kNoSource, kMsgNoSource, ErrorKind::kData, Text());
  if (Trim(given).empty())
    return StopWith(StopReason::kNoDestination, kMsgNoDestination, ErrorKind::kDestination, Text());
  if (!InRole(ErrorKind::kData, [&] { return files_.IsSelectable(paths_.source); }))
    return StopWith(StopReason::kNoSource, kMsgNoSource, ErrorKind::kData, paths_.source);
  Text& destination = paths_.destination;
  destination = checked;
  // The destination's components are written into CNT.TXT: each character must have a code
  // page 932 form.
  if (const size_t bad = FindUnencodable(destination); bad != Text::npos) {
    return StopWith(StopReason::kUnencodableDestination,
                    u"変換先フォルダ \"" + destination + u"\" の文字「" +
                        CharacterAt(destination, bad) +
                        u"」は Shift-JIS（コードページ 932）にない文字です。変換できません。",
                    ErrorKind::kDestination, destination, MsgIcon::kExclamation);
  }
  destination = DrivePath(destination).AsText();
  paths_.outDir = DrivePath(destination).Folder();
  watch_.Watch(paths_.outDir);
  report_.report.source = paths_.source;
  report_.report.destination = destination;
  report_.report.patdatFolder = reference_.env.patdatFolder;

  {
    if (!InRole(ErrorKind::kDestination, [&] { return AskForDestination(); })) {
      // The question was the message: a No ends the run without another word.
      return StopWith(StopReason::kDeclined,
                      u"変換先フォルダを作成しないことが選ばれたため、変換を中止しました。",
                      ErrorKind::kDeclined, destination);
    }

    paths_.sourceFileName = SplitPath(paths_.source, u"\\").Last();
    CheckDataSetFiles(files_, paths_.source);

    observer_.WorkStarts();
    // Nothing has changed before the lock is held: a run given up while it waits leaves the
    // destination and the reference folder as they were.
    if (!LockReferenceFolder()) {
      return StopWith(StopReason::kGivenUp, u"他の変換を待つ間に、変換を取りやめました。",
                      ErrorKind::kDeclined, reference_.env.Table(kLockFileName));
    }
    reference_.tables.DropIfChanged();
    reference_.tables.CheckFiles(kReadTables, kWrittenTables);
    // One encoding for all the data set's files, before anything is written; a file that
    // cannot be read fails as its header check would.
    try {
      if (IsBedSource(paths_.source)) {
        ReadBedSource();
      } else {
        report_.report.encoding =
            DecideDataSetEncoding(files_, DataSetFiles(paths_.source), request_.encoding);
      }
    } catch (const FileError& e) {
      return StopWith(StopReason::kHeaderCheck, HeaderFailureMessage(e, e.File()), ErrorKind::kData,
                      e.File());
    }
    // Holding the lock, this run knows that no other run is writing a temporary table.
    strata::RemoveRewriteLeftovers(files_, reference_.env.patdatFolder);
    InRole(ErrorKind::kDestination, [&] { CreateDestination(); });
    InRole(ErrorKind::kReferenceFolder, [&] { report_.SnapshotTables(files_, reference_.env); });
    LoadTables();

    for (const SectionUnit& unit : kSectionUnits) {
      if (!ConvertSection(unit)) return Stop();
    }
    InRole(ErrorKind::kDestination, [&] { NoteLeftovers(); });
    // The outputs are whole: a note an earlier stopped run left goes.
    InRole(ErrorKind::kDestination, [&] { RemoveRunNote(files_, paths_.destination); });
  }

  observer_.Converted();
  return Finish(RunOutcome::kCompleted);
}

// Asks once when a level of the destination is missing and notes the missing levels, parent
// before child. False when the user declines.
bool Conversion::AskForDestination() {
  const PathComponents parts = DrivePath(paths_.destination).Components();
  Text level = parts[1];
  for (int i = 2; i <= parts.Count(); ++i) {
    level += u"\\" + parts[i];
    if (parts[i].empty()) continue;
    if (!paths_.missingLevels.empty() || !files_.PathExists(level))
      paths_.missingLevels.push_back(level);
  }
  if (paths_.missingLevels.empty()) return true;
  return observer_.Ask(kMsgCreateFolder);
}

// Creates the levels the user agreed to, those that still do not exist.
void Conversion::CreateDestination() {
  for (const Text& p : paths_.missingLevels) {
    if (!files_.PathExists(p)) files_.MakeFolder(p);
  }
}

// Only one run at a time reads and extends a reference folder: the lock is held until the run
// ends (the system releases it should the process die). A run that finds the folder in use
// waits, saying so, and gives up after a while; false when the user gave it up meanwhile.
bool Conversion::LockReferenceFolder() {
  const Text path = reference_.env.Table(kLockFileName);
  const auto deadline = files_.Now() + request_.lockWait;
  bool waiting = false;
  while (true) {
    if (observer_.CancelRequested()) return false;
    // Unguarded, two runs could give one code to two names: no run goes on without the lock.
    reference_.lock = InRole(ErrorKind::kLock, [&] { return files_.TryLock(path); });
    if (reference_.lock != nullptr) break;
    if (files_.Now() >= deadline) {
      throw ProblemError(Problem::kFolderInUse, {reference_.env.patdatFolder}, path,
                         ErrorKind::kLock);
    }
    if (!waiting) {
      waiting = true;
      observer_.Status(u"参照フォルダを他の変換が使用中です。終わるまでお待ちください。");
    }
    observer_.StillWaiting();
    files_.Sleep(kLockPollInterval);
  }
  if (waiting) observer_.Status(kMsgConverting);
  return true;
}

void Conversion::LoadTables() {
  data_.l4Table = reference_.tables.Codes(kTableL4);
  data_.l10Table = reference_.tables.Codes(kTableL10);
}

SectionRun Conversion::Sections() {
  auto note = [this](const Text& name) { report_.NoteOutput(name); };
  return SectionRun{reference_.env, DrivePath(paths_.destination),
                    data_.fields,   data_.itemsA,
                    data_.itemsB,   data_.l4Table,
                    data_.l10Table, note};
}

void Conversion::ReadBedSource() {
  bed_ = ReadBedDataSet(files_, paths_.source, request_.encoding);
  RunReport& report = report_.report;
  report.encoding = DataSetEncoding{bed_->encoding == XmlEncoding::kUtf8, bed_->basis};
  const char16_t* encoding = bed_->encoding == XmlEncoding::kUtf8    ? u"utf-8"
                             : bed_->encoding == XmlEncoding::kUtf16 ? u"utf-16"
                                                                     : u"cp932";
  report.bed = RunReport::BedSummary{bed_->version, encoding, bed_->layerRecords,
                                     bed_->layerBoundaries, bed_->unknownCodes};
  for (const Text& warning : bed_->warnings) report_.Warn(warning);
}

bool Conversion::ConvertSection(const SectionUnit& unit) {
  if (bed_) return ConvertBedSection(unit);
  // The MDT file is the source itself; its siblings replace the first three characters of its
  // name.
  const bool isSource = unit.name == kSectionUnits[0].name;
  const Text name =
      isSource ? paths_.source : SectionFileName(paths_.source, paths_.sourceFileName, unit.name);
  RunReport& report = report_.report;
  if (!isSource) {
    // A missing section file is skipped; so is an empty one, left as it is: the run writes
    // nothing into the data set's folder. (Folders and the like were refused before.)
    const std::int64_t size = InRole(ErrorKind::kData, [&] { return files_.FileSize(name); });
    if (size < 1) {
      const bool empty = size == 0;
      report.sections.push_back(
          {unit.name, name,
           empty ? RunReport::SectionStatus::kEmptySkipped : RunReport::SectionStatus::kMissing});
      return true;
    }
  }
  if (const std::optional<Text> failure = CheckSectionHeader(files_, name, unit.headerFields)) {
    report.error = StopFor(StopReason::kHeaderCheck, *failure, ErrorKind::kData, name);
    return false;
  }
  const bool utf8 = report.encoding && report.encoding->utf8;
  FieldReader reader = FieldReader::OpenDataSet(files_, name, utf8);
  report.sections.push_back({unit.name, name, RunReport::SectionStatus::kConverted, utf8});
  // What the converter's own file access fails on is the destination it writes.
  InRole(ErrorKind::kDestination, [&] { unit.convert(Sections(), reader); });
  return true;
}

// A section of a boring exchange XML source, from the text the reader made: converted as the
// file of a legacy data set is; a section the XML holds nothing of is skipped as a missing file.
bool Conversion::ConvertBedSection(const SectionUnit& unit) {
  RunReport& report = report_.report;
  const Text* content = nullptr;
  for (size_t i = 0; i < kLegacySections.size(); ++i) {
    if (unit.name == kLegacySections[i]) content = &bed_->sections[i];
  }
  if (content == nullptr || content->empty()) {
    report.sections.push_back({unit.name, paths_.source, RunReport::SectionStatus::kMissing});
    return true;
  }
  if (const std::optional<Text> failure =
          CheckSectionHeader(*content, paths_.source, unit.headerFields)) {
    report.error = StopFor(StopReason::kHeaderCheck, *failure, ErrorKind::kData, paths_.source);
    return false;
  }
  FieldReader reader(*content, paths_.source);
  report.sections.push_back({unit.name, paths_.source, RunReport::SectionStatus::kConverted,
                             bed_->encoding == XmlEncoding::kUtf8});
  InRole(ErrorKind::kDestination, [&] { unit.convert(Sections(), reader); });
  return true;
}

}  // namespace ostra
