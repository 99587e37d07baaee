// The command line: its options, their parsing and the help.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/terminal.h"

namespace ostra {

struct CliOptions {
  std::string patdat;               // --patdat DIR
  std::vector<std::string> drives;  // --drive L=DIR, in order
  bool yes = false;                 // -y, --yes
  bool dryRun = false;              // --dry-run
  std::string reportJson;           // --report-json FILE ("-": standard output)
  std::string preview;              // --preview FILE.svg
  double scale = 100;               // --scale N: the picture at 1:N
  std::string batch;                // --batch LIST ("-": standard input)
  std::string scan;                 // --scan ROOT: every data set under ROOT
  std::string destTemplate;         // --dest-template T: the destination of a scanned data set
  std::string summary;              // --summary FILE.csv: the batch's table as CSV
  std::string retry;                // --retry FILE.csv: the lines of a summary not converted
  bool verbose = false;             // --verbose
  bool keepGoing = false;           // --keep-going
  bool quiet = false;               // -q, --quiet
  bool utf8 = false;                // --utf8
  std::string encoding;             // --encoding cp932|utf-8 (empty: decided from the data)
  std::string writeGdf;             // --write-gdf DIR: the XML source's data set as files there
  std::vector<std::string> paths;   // SOURCE DEST (SOURCE alone with --write-gdf)
};

// What the command line asks for: a conversion with its options, or an exit status after
// the help, the version or a usage error has been printed.
struct ParsedCommandLine {
  std::optional<CliOptions> options;
  int exitCode = 0;
};

// The help, the version and usage errors are written through `terminal`.
// Whether the options ask for a batch: --batch, --scan or --retry.
bool IsBatch(const CliOptions& options);

ParsedCommandLine ParseCommandLine(int argc, char** argv, const Terminal& terminal);

// A usage error: one line, the pointer to --help, exit status 2.
int UsageError(const Terminal& terminal, const std::string& what);

// Whether the command line asks for UTF-8 output (--utf8 before any "--").
bool AsksForUtf8(int argc, char** argv);

// The help text (Japanese, UTF-8).
std::string HelpText();

}  // namespace ostra
