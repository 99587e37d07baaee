// The conversion run: what the Execute button does.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"
#include "base/path_text.h"
#include "env/env.h"
#include "formats/data_set_encoding.h"
#include "formats/reference_folder.h"
#include "run/report.h"
#include "run/ui_port.h"

namespace ostra {

// Program-wide state shared by the run and the window.
struct AppState {
  Text patdatFolder;             // the reference folder, ending with "\"
  bool completionShown = false;  // the completion line is showing in Label3
  RunReport lastReport;          // what the last run did
  // How long a run waits for another run that holds the reference folder.
  std::chrono::milliseconds lockWait = std::chrono::seconds(120);
  // The reference folder's tables kept from one run to the next (a batch); null: each run
  // reads them anew. Used only for runs over the same Env and folder.
  std::shared_ptr<ReferenceFolder> tables;
  // The encoding of the data set's files: decided from them, or the user's choice.
  DataEncoding encoding = DataEncoding::kAuto;
};

enum class RunOutcome { kCompleted, kStopped };

inline constexpr const char16_t* kMsgConverting = u"只今変換中！　しばらくお待ちください。";
inline constexpr const char16_t* kMsgCompleted = u"変換が正常に終了しました。";
inline constexpr const char16_t* kMsgBadPath = u"指定されたパスは正しくありません。";
inline constexpr const char16_t* kMsgNoSource = u"変換元ファイルが選択されていません。";
inline constexpr const char16_t* kMsgNoDestination = u"変換先フォルダが選択されていません。";
inline constexpr const char16_t* kMsgCreateFolder = u"フォルダがありません。新規作成しますか？";

// The lock wait a front end read from OSTRACONV_LOCK_WAIT (whole seconds, may be null): the
// default when it is missing or not a number.
std::chrono::milliseconds LockWaitSetting(const char* value);

// Converts the data set whose MDT file is `text1` into the folder `text2`.
RunOutcome Command1_Click(AppState& app, Env& env, UiPort& ui, const Text& text1,
                          const Text& text2);

// Checks that a section file can be opened and holds at least n fields; on failure shows
// "エラー `<number> <description>\r`<path>` のヘッダーが不正です。変換できません".
bool CheckSectionHeader(Env& env, const Text& path, std::int16_t n, UiPort& ui);
// Shows the header check's message for a section file that could not be read.
void ShowHeaderFailure(UiPort& ui, const FileError& e, const Text& path);

// The sibling section file: the source path with the first three characters of its file name
// replaced by `section` ("BDT", ...).
Text SectionFileName(const Text& sourcePath, const Text& sourceFileName, const Text& section);

// Stops the run (RunError naming the file) when a section file of the data set is there but is
// not an ordinary file (a folder, a pipe, a device), before anything has changed.
void CheckDataSetFiles(Env& env, const Text& sourcePath);

// The files of the data set whose MDT file is `sourcePath`: that file, then its siblings in
// section order, whether they exist or not.
std::vector<Text> DataSetFiles(const Text& sourcePath);

}  // namespace ostra
