#include "cli/terminal.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/numbers.h"
#include "run/run.h"
#include "run/stop_error.h"

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <unistd.h>
#endif

namespace ostra {

namespace {

bool stdoutClosed = false;  // the reader of standard output has gone
bool stdoutFailed = false;  // standard output could not be written

}  // namespace

bool WriteStream(std::FILE* stream, const std::string& bytes) {
  if (stream == stdout && (stdoutClosed || stdoutFailed)) return !stdoutFailed;
  errno = 0;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() &&
                  std::fflush(stream) == 0;
  if (ok || stream != stdout) return ok;
  // A pipe whose reader has ended (| head): the rest of the output is not wanted. Windows
  // reports a closed pipe as EINVAL.
  if (errno == EPIPE || errno == EINVAL) {
    stdoutClosed = true;
    return true;
  }
  stdoutFailed = true;
  const std::string why =
      errno == ENOSPC ? "空き領域がありません" : "エラー番号 " + std::to_string(errno);
  const std::string message = "ostraconv-cli: 標準出力に書き込めません（" + why + "）\n";
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fflush(stderr);
  return false;
}

bool StandardOutputFailed() {
  return stdoutFailed;
}

namespace {

// Text for the terminal: UTF-8, with the message boxes' CR as a line end.
std::string ForTerminal(const Text& text) {
  Text t;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      t.push_back(u'\n');
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      t.push_back(text[i]);
    }
  }
  return ToUtf8(t);
}

}  // namespace

Text EscapeControls(const Text& text, bool keepLineEnds) {
  static constexpr char kHex[] = "0123456789abcdef";
  Text out;
  for (const char16_t c : text) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    if (!control || (keepLineEnds && c == u'\n')) {
      out.push_back(c);
      continue;
    }
    out += u"\\x";
    out.push_back(static_cast<char16_t>(kHex[(c >> 4) & 0xF]));
    out.push_back(static_cast<char16_t>(kHex[c & 0xF]));
  }
  return out;
}

void Terminal::Write(std::FILE* stream, const std::string& utf8) const {
  std::string text = ToUtf8(EscapeControls(FromUtf8(utf8), true));
  if (stream == stderr && !errorContext_.empty()) {
    std::string withContext;
    for (const char c : text) {
      if (errorLineStart_) withContext += errorContext_;
      withContext += c;
      errorLineStart_ = c == '\n';
    }
    text = std::move(withContext);
  }
  WriteEscaped(stream, text);
}

void Terminal::PrintColumns(std::FILE* stream, const std::vector<Text>& cells) const {
  Text line;
  for (const Text& cell : cells) line += (line.empty() ? u"" : u"\t") + EscapeControls(cell, false);
  WriteEscaped(stream, ToUtf8(line) + "\n");
}

// Writes text whose control characters are already escapes.
void Terminal::WriteEscaped(std::FILE* stream, const std::string& utf8) const {
#ifdef _WIN32
  HANDLE h = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode;
  const Text t = FromUtf8(utf8);
  const std::wstring w(t.begin(), t.end());
  if (h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode)) {
    std::fflush(stream);
    DWORD written;
    WriteConsoleW(h, w.data(), static_cast<DWORD>(w.size()), &written, nullptr);
    return;
  }
  if (!utf8_) {
    // Redirected: cmd and PowerShell 5.1 read the bytes in the console's code page (932 on a
    // Japanese system), the system's code page when there is no console.
    UINT cp = GetConsoleOutputCP();
    if (cp == 0) cp = GetACP();
    if (cp != CP_UTF8 && !w.empty()) {
      const int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                        nullptr, nullptr);
      std::string bytes(static_cast<size_t>(n), '\0');
      WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), bytes.data(), n, nullptr,
                          nullptr);
      WriteStream(stream, bytes);
      return;
    }
  }
#endif
  WriteStream(stream, utf8);
}

void Terminal::Print(std::FILE* stream, const Text& text) const {
  Write(stream, ForTerminal(text) + "\n");
}

bool InputIsTerminal() {
#ifdef _WIN32
  // _isatty() also holds for NUL and other character devices; only a console can answer.
  DWORD mode;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
  return isatty(fileno(stdin)) != 0;
#endif
}

void TerminalUi::Status(const Text& text) {
  if (text.empty() || text == kMsgConverting) return;
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(lockWait_).count();
  terminal_.Print(stderr, text + u"（最長 " + IntText(seconds) + u" 秒）");
}

void TerminalUi::ShowStop(const RunReport& report) const {
  if (!report.error) return;
  for (const StopMessage& m : StopMessages(*report.error)) terminal_.Print(stderr, m.text);
}

bool TerminalUi::Ask(const Text& text) {
  if (yes_) return true;
  if (!InputIsTerminal()) {
    terminal_.Print(stderr, text + u" -> いいえ（--yes で「はい」と答えます）");
    return false;
  }
  terminal_.Write(stderr, ForTerminal(text) + " [y/N] ");
  std::string answer;
  const bool answered = static_cast<bool>(std::getline(std::cin, answer));
  terminal_.InputLineEnded();
  if (!answered) return false;
  return IsYes(answer);
}

bool IsYes(const std::string& answer) {
  // Spaces (an ideographic one too) and a CR of a Windows line end around the answer do not count.
  Text t = FromUtf8(answer);
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\u3000'; };
  while (!t.empty() && blank(t.back())) t.pop_back();
  size_t start = 0;
  while (start < t.size() && blank(t[start])) ++start;
  t.erase(0, start);
  for (char16_t& c : t) {
    if (c >= u'\uFF21' && c <= u'\uFF5A')
      c = static_cast<char16_t>(c - 0xFF21 + u'A');  // full width
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return t == u"y" || t == u"yes" || t == u"はい";
}

bool WriteHostFile(const Terminal& terminal, const std::string& file, const std::string& bytes) {
  if (file == "-") return WriteStream(stdout, bytes);
#ifdef _WIN32
  Text w = FromUtf8(file);
  std::FILE* f = _wfopen(std::wstring(w.begin(), w.end()).c_str(), L"wb");
#else
  std::FILE* f = std::fopen(file.c_str(), "wb");
#endif
  bool ok = f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f != nullptr) ok = std::fclose(f) == 0 && ok;
  if (!ok) terminal.Print(stderr, u"ファイル \"" + FromUtf8(file) + u"\" を書き込めません。");
  return ok;
}

std::optional<std::string> ReadHostFile(const std::string& file) {
#ifdef _WIN32
  const Text w = FromUtf8(file);
  std::ifstream in(std::filesystem::path(std::wstring(w.begin(), w.end())), std::ios::binary);
#else
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
#endif
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace ostra
