#include "run/dry_run.h"

#include "env/memory_env.h"

namespace ostra {

namespace {

// Answers the folder question with Yes: the folders exist only in memory.
class TrialUi : public ForwardingUi {
 public:
  using ForwardingUi::ForwardingUi;
  bool AskYesNo(const Text&, const Text&) override { return true; }
};

}  // namespace

RunOutcome DryRunIn(MemoryEnv& trialFiles, AppState& app, UiPort& ui, const Text& text1,
                    const Text& text2) {
  TrialUi trialUi(ui);
  const RunOutcome outcome = Command1_Click(app, trialFiles, trialUi, text1, text2);
  app.lastReport.dryRun = true;
  return outcome;
}

RunOutcome DryRun(AppState& app, Env& env, UiPort& ui, const Text& text1, const Text& text2,
                  const std::function<void(Env&, const Text&)>& inspect) {
  MemoryEnv trialFiles(&env);
  const RunOutcome outcome = DryRunIn(trialFiles, app, ui, text1, text2);
  if (outcome == RunOutcome::kCompleted && inspect) inspect(trialFiles, app.lastReport.destination);
  return outcome;
}

}  // namespace ostra
