#include "formats/run_note.h"

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "base/codec.h"
#include "base/drive_path.h"
#include "base/errors.h"
#include "base/sjis.h"
#include "base/text_lines.h"
#include "env/files.h"

namespace ostra {

namespace {

// The note's lines: a first line for whoever opens the file, then the time and the reason, each
// after its label.
constexpr const char16_t* kNoteTitle =
    u"このフォルダのファイルは、途中で止まった変換が書き込んだものです。";
constexpr const char16_t* kTimeLabel = u"日時：";
constexpr const char16_t* kReasonLabel = u"理由：";

Text Digits(int value, int width) {
  std::string s = std::to_string(value);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
  return Text(s.begin(), s.end());
}

// "2026/12/09 14:38" in the local time of the machine.
Text LocalTimeText(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return Digits(tm.tm_year + 1900, 4) + u"/" + Digits(tm.tm_mon + 1, 2) + u"/" +
         Digits(tm.tm_mday, 2) + u" " + Digits(tm.tm_hour, 2) + u":" + Digits(tm.tm_min, 2);
}

// The reason on one line: line breaks of a message become blanks.
Text OneLine(const Text& text) {
  Text line;
  for (char16_t c : text) {
    if (c == u'\r' || c == u'\n') {
      if (!line.empty() && line.back() != u' ') line += u' ';
    } else {
      line += c;
    }
  }
  return Trim(line);
}

// What follows `label` on the first line that starts with it.
std::optional<Text> Labelled(const std::vector<Text>& lines, const Text& label) {
  for (const Text& line : lines) {
    if (line.rfind(label, 0) == 0) return line.substr(label.size());
  }
  return std::nullopt;
}

}  // namespace

void WriteRunNote(Env& env, const Text& folder, const Text& text) {
  const DrivePath place(folder);
  const Text temporary = place.Join(kRunNoteTemporaryName);
  const std::vector<Text> lines{kNoteTitle, kTimeLabel + LocalTimeText(env.WallClock()),
                                kReasonLabel + OneLine(text)};
  try {
    // Written in full under another name, then put in place in one step: a reader finds the old
    // note or the new one, never half of one. kCreate never writes through a link.
    OutFile out(env, temporary);
    for (const Text& line : lines) out.Line(line);
    out.Close();
    env.ReplaceFile(temporary, place.Join(kRunNoteFileName));
    env.SyncFolder(place.AsText());
  } catch (const FileError&) {
    try {
      if (env.FileExists(temporary)) env.RemoveFile(temporary);
    } catch (const FileError&) {
      // The first failure is the one reported.
    }
    throw;
  }
}

void RemoveRunNote(Env& env, const Text& folder) {
  const DrivePath place(folder);
  const Text path = place.Join(kRunNoteFileName);
  const FileFacts facts = env.Inspect(path);
  if (facts.kind == FileKind::kNone && !facts.link) return;
  env.RemoveFile(path);
  env.SyncFolder(place.AsText());
}

std::optional<Text> ReadRunNote(Env& env, const Text& folder) {
  const Text path = DrivePath(folder).Join(kRunNoteFileName);
  try {
    if (!env.FileExists(path)) return std::nullopt;
    const std::vector<Text> lines = ReadFileLines(env, path);
    const std::optional<Text> time = Labelled(lines, kTimeLabel);
    const std::optional<Text> reason = Labelled(lines, kReasonLabel);
    Text shown = u"変換は途中で止まりました";
    if (time && !time->empty()) shown += u"（" + *time + u"）";
    if (reason && !reason->empty()) shown += u"：" + *reason;
    return shown;
  } catch (const FileError&) {
    return std::nullopt;
  }
}

}  // namespace ostra
