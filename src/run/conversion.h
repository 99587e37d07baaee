// The conversion run's working parts, private to run/: the request as checked, what the sections
// read into, the reference folder as the run holds it, and the report being built.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"
#include "base/path_text.h"
#include "convert/run_env.h"
#include "convert/section_unit.h"
#include "convert/title.h"
#include "env/env.h"
#include "formats/bed_data_set.h"
#include "formats/code_table.h"
#include "formats/reference_folder.h"
#include "run/convert.h"
#include "run/destination_watch.h"
#include "run/report.h"
#include "run/run_record.h"

namespace ostra {

enum class RunOutcome { kCompleted, kStopped };

// The request's paths as the run checked them.
struct CheckedPaths {
  Text given;  // the destination as given, trimmed
  Text source;
  Text sourceFileName;
  Text destination;  // normalised, without a trailing "\" (but "X:\" for a drive's root)
  Text outDir;       // destination followed by one "\"
  std::vector<Text> missingLevels;  // destination levels to create, parent before child

  Text Out(const Text& name) const { return outDir + name; }
};

// What the sections read into and convert with: the record buffer, the title items and the two
// code tables the run loads.
struct SectionData {
  RecordFields fields;
  TitleItems itemsA;
  TitleItems itemsB;
  CodeTable l4Table;
  CodeTable l10Table;
};

// The reference folder as the run holds it: its tables (kept from an earlier run, else read
// anew), what every step reaches through RunEnv, and the lock once it is taken.
struct HeldReferenceFolder {
  HeldReferenceFolder(const ConversionRequest& request, Env& files, WarningSink& warnings);

  std::optional<ReferenceFolder> ownTables;
  ReferenceFolder& tables;
  RunEnv env;
  std::unique_ptr<HeldLock> lock;
};

// The report being built. Warnings pass through it on their way to the observer.
class ReportBuilder : public WarningSink {
 public:
  explicit ReportBuilder(RunObserver& observer) : observer_(observer) {}
  void Warn(const Text& text) override;
  Text Worded(const std::exception& e) override;
  // Notes that the run wrote the file `name` of the destination.
  void NoteOutput(const Text& name);
  // The watched tables as they are before the run changes them.
  void SnapshotTables(Env& files, const RunEnv& env);
  // The outputs still there with their lines and bytes, and the lines the tables gained.
  void Collect(Env& files, const CheckedPaths& paths);

  RunReport report;

 private:
  RunObserver& observer_;
  std::vector<std::pair<Text, TableSnapshot>> tablesBefore_;
};

class Conversion {
 public:
  Conversion(const ConversionRequest& request, Env& files, RunObserver& observer)
      : request_(request),
        files_(files),
        observer_(observer),
        watch_(files),
        report_(observer),
        reference_(request, files, report_) {
    // The sections write through the watch, which notes when the destination begins to change.
    reference_.env.files = &watch_;
  }

  // Every failure ends here as a stop in the report: nothing escapes.
  RunReport Run();

 private:
  RunOutcome Steps();
  RunOutcome Stop();
  // Why the run stops, for the report: the message and what it is about, and how a front end
  // shows it.
  RunReport::Error StopFor(StopReason reason, const Text& message, ErrorKind kind, const Text& file,
                           MsgIcon icon = MsgIcon::kNone,
                           const std::optional<DataPlace>& place = std::nullopt) const;
  // Keeps that in the report and stops.
  RunOutcome StopWith(StopReason reason, const Text& message, ErrorKind kind, const Text& file,
                      MsgIcon icon = MsgIcon::kNone,
                      const std::optional<DataPlace>& place = std::nullopt);
  RunOutcome Finish(RunOutcome outcome);
  // A run that stops after it began to change the destination leaves a note of it there.
  void LeaveRunNote();
  void NoteLeftovers();
  bool AskForDestination();
  void CreateDestination();
  bool LockReferenceFolder();
  void LoadTables();
  // Converts one section: false when its header check failed.
  bool ConvertSection(const SectionUnit& unit);
  // A boring exchange XML source: reads it into the data set's sections, before anything is
  // written.
  void ReadBedSource();
  bool ConvertBedSection(const SectionUnit& unit);
  SectionRun Sections();

  const ConversionRequest& request_;
  Env& files_;
  RunObserver& observer_;
  DestinationWatch watch_;
  ReportBuilder report_;
  HeldReferenceFolder reference_;
  CheckedPaths paths_;
  SectionData data_;
  std::optional<BedDataSet> bed_;  // the sections of a boring exchange XML source
};

}  // namespace ostra
