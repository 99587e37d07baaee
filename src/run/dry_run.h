// A trial conversion: the run reads the real data set and reference folder, and every file it
// writes, creates or removes is kept in memory, so that the report tells what a real conversion
// would write and register while every real file stays as it is.
#pragma once

#include <functional>

#include "base/codec.h"
#include "env/env.h"
#include "env/memory_env.h"
#include "run/run.h"
#include "run/ui_port.h"

namespace ostra {

// The message line after a completed trial.
inline constexpr const char16_t* kMsgTrialCompleted =
    u"試行変換が終了しました（ファイルは変更していません）";

// Runs the conversion of `text1` into `text2` over the files of `env`, keeping every change in
// memory. The folder question is answered Yes (the folders are created in memory only).
// `app.lastReport` receives the report, marked as a trial. `inspect`, when given, is called
// after a completed trial with the Env that holds its results and the destination folder.
RunOutcome DryRun(AppState& app, Env& env, UiPort& ui, const Text& text1, const Text& text2,
                  const std::function<void(Env&, const Text&)>& inspect = {});

// The same over a memory Env the caller keeps: trials of several conversions in a row (a
// batch) see what the earlier ones would have written and registered.
RunOutcome DryRunIn(MemoryEnv& trialFiles, AppState& app, UiPort& ui, const Text& text1,
                    const Text& text2);

}  // namespace ostra
