// A trial conversion: the data set and the reference folder are copied into a scratch folder
// and converted there, so that the report tells what a real conversion would write and
// register while every real file stays as it is.
#pragma once

#include <functional>
#include <string>

#include "base/codec.h"
#include "run/run.h"
#include "run/ui_port.h"

namespace ostra {

// Runs the conversion of `text1` into `text2` on copies. The folder question is answered Yes
// (only the scratch folder is created). `app.lastReport` receives the report, marked as a trial
// and naming the real source, destination and reference folder. `inspect`, when given, is
// called with the scratch destination (drive form) before the scratch folder is removed.
RunOutcome DryRun(AppState& app, UiPort& ui, const Text& text1, const Text& text2,
                  const std::function<void(const Text&)>& inspect = {});

}  // namespace ostra
