// The terminal side of the command-line program: text to standard streams (UTF-8, or the
// console's code page on Windows when redirected), questions, and what a run tells it.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/codec.h"
#include "run/convert.h"

namespace ostra {

// Text safe for a terminal: control characters (below U+0020, U+007F, and U+0080 to U+009F)
// written as escapes ("\x1b"), so that a path or a name cannot move the cursor, change colours
// or break a line or a column. Line ends stay when `keepLineEnds` (the program's own layout).
Text EscapeControls(const Text& text, bool keepLineEnds);

class Terminal {
 public:
  // `utf8`: redirected output stays UTF-8 on Windows too. `quiet`: only the completion line,
  // warnings and errors.
  Terminal(bool utf8, bool quiet) : utf8_(utf8), quiet_(quiet) {}
  bool Quiet() const { return quiet_; }
  // Writes UTF-8 text, control characters other than line ends as escapes (see
  // EscapeControls): a Windows console gets it as UTF-16, redirected output the console's code
  // page unless UTF-8 was asked for.
  void Write(std::FILE* stream, const std::string& utf8) const;
  // One line of cells separated by tabs, each cell's control characters as escapes.
  void PrintColumns(std::FILE* stream, const std::vector<Text>& cells) const;
  // One message, its CRs as line ends, followed by a line end.
  void Print(std::FILE* stream, const Text& text) const;
  // Report text for stdout; left out when quiet.
  void Info(const Text& text) const {
    if (!quiet_) Print(stdout, text);
  }
  // Text put before every line written to standard error from now on ("[一覧の 3 行目 → …] "):
  // which conversion of a batch a warning or an error is about. Empty: none.
  void SetErrorContext(const Text& context) {
    errorContext_ = ToUtf8(EscapeControls(context, false));
    errorLineStart_ = true;
  }
  // The user ended the line of a question on the terminal.
  void InputLineEnded() const { errorLineStart_ = true; }

 private:
  void WriteEscaped(std::FILE* stream, const std::string& utf8) const;

  bool utf8_;
  bool quiet_;
  std::string errorContext_;
  mutable bool errorLineStart_ = true;
};

// Whether an answer typed at a y/N question is Yes: y, yes or はい (any case, full width too);
// anything else, いいえ and an empty line included, is No.
bool IsYes(const std::string& answer);

// Whether questions can be asked: standard input is a terminal.
bool InputIsTerminal();

class TerminalUi : public RunObserver {
 public:
  TerminalUi(const Terminal& terminal, bool yes, const std::chrono::milliseconds& lockWait)
      : terminal_(terminal), yes_(yes), lockWait_(lockWait) {}
  // Only a wait for another run is worth a line on the terminal.
  void Status(const Text& text) override;
  // Asks on the terminal; --yes answers Yes, input that is no terminal No.
  bool Ask(const Text& question) override;
  void Warn(const Text& text) override { terminal_.Print(stderr, text); }
  // The messages that say why a run stopped, one line each.
  void ShowStop(const RunReport& report) const;

 private:
  const Terminal& terminal_;
  bool yes_;
  const std::chrono::milliseconds& lockWait_;  // the run's, set after start-up
};

// Writes bytes to a standard stream. Standard output whose reader has gone (a closed pipe) takes
// nothing more, quietly; one that cannot be written (a full disk) is said once on standard error,
// and then false.
bool WriteStream(std::FILE* stream, const std::string& bytes);
// Whether standard output could not be written: the program's status is then an error.
bool StandardOutputFailed();

// Writes a file named on the command line ("-": standard output); false (with a message) when
// it cannot.
bool WriteHostFile(const Terminal& terminal, const std::string& file, const std::string& bytes);

// The bytes of a file named on the command line; none when it cannot be read.
std::optional<std::string> ReadHostFile(const std::string& file);

}  // namespace ostra
