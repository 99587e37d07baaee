// A front end for the run tests: it records what a run tells it, answers the folder question
// with `answer`, and keeps the messages a front end shows for a stop.
#pragma once

#include <vector>

#include "run/convert.h"
#include "run/stop_error.h"

namespace ostra::test {

class RecordingObserver : public RunObserver {
 public:
  void Status(const Text& text) override {
    status = text;
    statusHistory.push_back(text);
  }
  bool Ask(const Text& question) override {
    questions.push_back(question);
    return answer;
  }
  void WorkStarts() override { ++workStarts; }
  void StillWaiting() override { ++waits; }
  void Warn(const Text& text) override { warnings.push_back(text); }

  // Converts, and keeps the messages that tell why the run stopped.
  RunReport Run(const ConversionRequest& request, Env& env) {
    RunReport report = Convert(request, env, *this);
    if (report.error) {
      for (const StopMessage& m : StopMessages(*report.error)) messages.push_back(m);
    }
    return report;
  }

  bool answer = true;
  Text status;
  std::vector<Text> statusHistory;
  std::vector<Text> questions;
  std::vector<Text> warnings;
  int workStarts = 0;
  int waits = 0;                      // looks at a reference folder in use, after the first
  std::vector<StopMessage> messages;  // shown after the run, in order
};

}  // namespace ostra::test
