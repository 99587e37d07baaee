// Shared helpers for the tests: temporary folders mapped as drives, code page 932 files,
// a record of warnings and running the command-line program.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/codec.h"
#include "convert/warnings.h"
#include "env/drive_map_env.h"

namespace ostra::test {

namespace fs = std::filesystem;

// A fresh temporary folder, removed at the end of the test, mapped as drive `letter`
// (default T:) in an Env of its own over the system's files.
class TempDrive {
 public:
  explicit TempDrive(char16_t letter = u'T');
  ~TempDrive();
  TempDrive(const TempDrive&) = delete;
  TempDrive& operator=(const TempDrive&) = delete;

  const fs::path& Root() const { return root_; }
  // Drive-form paths of this drive (and of drives added with Share) over the system's files.
  DriveMapEnv& Files() { return *env_; }
  // Maps `other`'s letter in this drive's Env too.
  void Share(const TempDrive& other);
  char16_t Letter() const { return letter_; }
  // Drive-form path of a relative path ("A\B.TXT" -> "T:\A\B.TXT"); "" gives "T:".
  Text Drive(const std::string& relativeUtf8 = "") const;
  // Host path of a relative path written with "/" or "\".
  fs::path Host(const std::string& relativeUtf8) const;

 private:
  fs::path root_;
  char16_t letter_;
  std::unique_ptr<Env> host_;
  std::unique_ptr<DriveMapEnv> env_;
};

// Writes UTF-8 text as code page 932 (no line-end conversion: write "\r\n" yourself).
void WriteSjis(const fs::path& file, const std::string& utf8);
// Writes lines joined with CR LF after each.
void WriteSjisLines(const fs::path& file, const std::vector<std::string>& linesUtf8);
// Reads a code page 932 file as UTF-8 text (line ends unchanged).
std::string ReadSjis(const fs::path& file);
// Reads a code page 932 file split at CR LF (a final CR LF ends the last line). Fails the
// test (via ADD_FAILURE) on a bare LF or CR.
std::vector<std::string> ReadSjisLines(const fs::path& file);
std::string ReadBytes(const fs::path& file);
// Everything below `root` by its relative path: a file's bytes, "<folder>" for a folder; nothing
// when `root` does not exist.
std::map<std::string, std::string> TreeSnapshot(const fs::path& root);
// Writes the bytes as they are, replacing the file.
void WriteBytes(const fs::path& file, const std::string& bytes);
// The rows of a CSV text whose rows end with CR LF, each split into its cells ("" inside quotes
// for one quote).
std::vector<std::vector<std::string>> CsvRows(const std::string& text);
// The rows of a batch's summary file: UTF-8 after a byte order mark, else code page 932.
std::vector<std::vector<std::string>> ReadSummaryCsv(const fs::path& file);
// Copies the bundled reference folder examples/PATDAT to `to`.
void CopyExamplePatdat(const fs::path& to);
// Copies the bundled sample's six section files (MDT0001.GDF ... CDT0001.GDF) into the folder
// `to`, made when missing.
void CopyExampleDataSet(const fs::path& to);
// Path of the bundled examples folder.
fs::path ExamplesDir();

// Records the warnings a converter gives.
class WarningLog : public WarningSink {
 public:
  void Warn(const Text& text) override { warnings.push_back(text); }
  std::vector<Text> warnings;
};

struct CliResult {
  int exitCode = -1;
  std::string out;  // stdout, UTF-8
  std::string err;  // stderr, UTF-8
};
// Runs ostraconv-cli with the arguments (UTF-8) and extra environment "NAME=value" entries.
CliResult RunCli(const std::vector<std::string>& args, const std::vector<std::string>& env = {});
// The same without asking for UTF-8 output on Windows: the bytes as the program writes them.
CliResult RunCliAsIs(const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {});
// RunCli with `input` on standard input.
CliResult RunCliWithInput(const std::vector<std::string>& args,
                          const std::optional<std::string>& input,
                          const std::vector<std::string>& env = {});
// The process itself: the arguments as they are, `input` on standard input (none: an empty one).
CliResult RunCliProcess(const std::vector<std::string>& args,
                        const std::optional<std::string>& input,
                        const std::vector<std::string>& env);

// UTF-8 <-> UTF-16 shorthands for assertions.
inline std::string U8(TextView t) {
  return ToUtf8(t);
}
inline Text U16(const std::string& s) {
  return FromUtf8(s);
}

}  // namespace ostra::test
