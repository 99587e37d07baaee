// The conversion run's texts and the helpers around it: the header check, the data set's files.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/codec.h"
#include "base/errors.h"
#include "env/env.h"
#include "formats/data_set_files.h"
#include "run/convert.h"
#include "run/report.h"

namespace ostra {

inline constexpr const char16_t* kMsgConverting = u"只今変換中！　しばらくお待ちください。";
inline constexpr const char16_t* kMsgCompleted = u"変換が正常に終了しました。";
inline constexpr const char16_t* kMsgBadPath = u"指定されたパスは正しくありません。";
inline constexpr const char16_t* kMsgNoSource = u"変換元ファイルが選択されていません。";
inline constexpr const char16_t* kMsgNoDestination = u"変換先フォルダが選択されていません。";
inline constexpr const char16_t* kMsgCreateFolder = u"フォルダがありません。新規作成しますか？";
// The message line after a completed trial.
inline constexpr const char16_t* kMsgTrialCompleted =
    u"試行変換が終了しました（ファイルは変更していません）";

// The lock wait a front end read from OSTRACONV_LOCK_WAIT (whole seconds, may be null): the
// default when it is missing or not a number.
std::chrono::milliseconds LockWaitSetting(const char* value);

// Checks that a section file can be opened and holds at least n fields: nothing when it does,
// else the message that says why not.
std::optional<Text> CheckSectionHeader(Env& env, const Text& path, std::int16_t n);
// The header check's message for a section file that could not be read:
// "エラー `<number> <description>\r`<path>` のヘッダーが不正です。変換できません".
// The same for a section's text made in memory (a boring exchange XML file's sections).
std::optional<Text> CheckSectionHeader(const Text& content, const Text& path, std::int16_t n);
Text HeaderFailureMessage(const FileError& e, const Text& path);

// Stops the run (RunError naming the file) when a section file of the data set is there but is
// not an ordinary file (a folder, a pipe, a device), before anything has changed.
void CheckDataSetFiles(Env& env, const Text& sourcePath);

}  // namespace ostra
