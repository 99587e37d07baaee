// What a conversion run did: the files it wrote, the sections it converted or skipped, and the
// lines it added to the reference tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"
#include "formats/data_set_encoding.h"

namespace ostra {

// The icon of a message box.
enum class MsgIcon { kNone, kInformation, kExclamation, kQuestion, kCritical };

// Which stop a run came to.
enum class StopReason {
  kDriveName,               // the destination names no drive: kDriveNameMessage, then kMsgBadPath
  kBadPath,                 // the destination path check refused the destination
  kNoSource,                // no source given, or no such file
  kNoDestination,           // no destination given
  kUnencodableDestination,  // a character of the destination has no code page 932 form
  kDeclined,                // the user answered No to the folder question
  kGivenUp,                 // the user gave the run up while it waited for the reference folder
  kHeaderCheck,             // a section file's header could not be read
  kFailed,                  // a file or its data failed the conversion
  kLockTimedOut,            // another run held the reference folder's lock past the wait
  kUnexpected,              // an error the run did not expect
};

struct RunReport {
  enum class SectionStatus {
    kConverted,     // read and converted
    kMissing,       // no such file: skipped
    kEmptySkipped,  // an empty file: skipped and left as it is
  };
  struct Output {
    Text file;  // file name in the destination folder
    long lines = 0;
    std::int64_t bytes = 0;
  };
  struct Section {
    Text section;  // "MDT", "BDT", ...
    Text file;     // the section file's path
    SectionStatus status = SectionStatus::kConverted;
    bool utf8 = false;  // read as UTF-8
  };
  struct TableChange {
    Text file;                // table file name in the reference folder
    bool created = false;     // the run created the table (empty)
    std::vector<Text> added;  // lines the table gained, in file order
  };

  // Why a run stopped.
  struct Error {
    Error() = default;
    Error(Text message_, Text file_, ErrorKind kind_)
        : message(std::move(message_)), file(std::move(file_)), kind(kind_) {}
    Text message;  // the message shown
    Text file;     // the file or folder it is about, when there is one
    ErrorKind kind = ErrorKind::kSystem;
    StopReason reason = StopReason::kFailed;
    MsgIcon icon = MsgIcon::kNone;  // of the message box that shows the message
    Text title;                     // of that box; "" for the program's own
    bool told = false;  // the user already knows: the answer or the giving up was the message
    // Where in the file, for a stop about data (0 and empty: not known).
    long line = 0;         // 1-based, as an editor counts
    long column = 0;       // 1-based character position in the line
    long record = 0;       // 1-based record of the section block
    long recordCount = 0;  // records the header announced
    long field = 0;        // 1-based field of the record
    Text value;            // the value as read
  };

  // What the reader made of a boring exchange XML source (none for a legacy data set).
  struct BedSummary {
    Text version;                    // "3.00"
    Text encoding;                   // "utf-8", "cp932" or "utf-16"
    int layerRecords = 0;            // layer records made
    int layerBoundaries = 0;         // the XML's lower boundaries they came from
    std::vector<Text> unknownCodes;  // class values kept as written
  };

  bool completed = false;
  bool dryRun = false;
  Text source;
  Text destination;
  Text patdatFolder;
  std::optional<DataSetEncoding> encoding;  // decided once the data set was looked at
  std::optional<BedSummary> bed;
  std::vector<Section> sections;
  std::vector<Output> outputs;
  std::vector<TableChange> tables;  // only tables that changed
  std::vector<Text> warnings;
  // Where PATADD.txt would have gone when the program's folder could not take it; else empty.
  Text markerNotWritten;
  std::optional<Error> error;  // set when the run stopped
};

// The report as plain Japanese text, one item per line.
Text ReportText(const RunReport& report);

}  // namespace ostra
