// --scan ROOT: every data set under a folder, converted into a destination made from the
// template of --dest-template.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/codec.h"
#include "cli/batch.h"
#include "env/env.h"
#include "formats/data_set_encoding.h"

namespace ostra {

class Session;

// The names a template fills in, as the data set's header gives them (empty: not given).
struct DataSetNames {
  Text project;  // header item 29, the project or works
  Text site;     // header item 1, the survey
  Text boring;   // header item 3, the hole
};

// Where a data set was found: the names the template falls back to.
struct DataSetPlace {
  // The folders holding the data set, nearest first; a delivery's BORING and DATA folders are
  // passed over.
  std::vector<Text> folders;
  Text stem;  // the file's name without its extension ("MDT0001")
  // The data set's own folder names its boring: it holds no other data set and is no
  // delivery's BORING or DATA folder. Otherwise the boring is named by `stem`.
  bool ownFolder = true;
};

// The template's first field other than {project}, {site} and {boring} ("{bogus}"; an
// unclosed "{" counts as one); empty when there is none.
std::string UnknownTemplateField(const std::string& pattern);

// A name as one level of a destination: blanks and dots at its ends dropped, and each blank,
// control character and character a Windows folder name cannot hold (\ / : * ? " < > |)
// replaced by "_". Empty when nothing is left.
Text AsFolderLevel(TextView name);

// A destination made from the template.
struct FilledTemplate {
  std::string dest;
  // The fields taken from folder names, for the summary ("{site} はフォルダ名「地点A」").
  std::string fallback;
};
FilledTemplate FillTemplate(const std::string& pattern, const DataSetNames& names,
                            const DataSetPlace& place);

// A data set found under the scanned folder.
struct FoundDataSet {
  std::string path;  // the scanned folder as given on the command line, then the way down
  Text drivePath;    // the same as a drive-form path
  DataSetPlace place;
};

// Every data set (MDT*.GDF and BED*.XML, in any letter case) under the folder `root`, a
// drive-form path of `files`, in the order of their paths; `shown` is `root` as the user named
// it. Symbolic links to folders are not followed. A folder that cannot be read is passed to
// `unreadable` with the reason, and the scan goes on.
std::vector<FoundDataSet> ScanDataSets(
    Env& files, const Text& root, const std::string& shown,
    const std::function<void(const Text& folder, const Text& reason)>& unreadable);

// The names the header of the data set `source` gives; all empty when it cannot be read.
DataSetNames ReadDataSetNames(Env& files, const Text& source, DataEncoding encoding);

// The conversions of --scan: one for each data set found, in order; none, with `exitCode` set
// after the message was printed, when the options or the folder do not allow it or no data set
// is there.
std::optional<std::vector<BatchItem>> CollectScannedItems(Session& session, int& exitCode);

}  // namespace ostra
