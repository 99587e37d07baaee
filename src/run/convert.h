// A conversion run as a value: a request goes in, the report comes out, and what happens on the
// way goes to an observer that decides nothing but the answers it is asked for.
#pragma once

#include <chrono>
#include <memory>

#include "base/codec.h"
#include "convert/warnings.h"
#include "env/env.h"
#include "env/memory_env.h"
#include "formats/data_set_encoding.h"
#include "formats/reference_folder.h"
#include "run/report.h"

namespace ostra {

// How long a run waits, unless told otherwise, for another run that holds the reference folder.
inline constexpr std::chrono::milliseconds kDefaultLockWait = std::chrono::seconds(120);

struct ConversionRequest {
  Text source;           // the data set's MDT file, as the user gave it
  Text destination;      // the destination folder, as the user gave it
  Text referenceFolder;  // the reference folder PATDAT, ending with "\"
  // A trial: every file the run writes, creates or removes is kept in memory, so that the report
  // tells what a real conversion would write and register while every real file stays as it is.
  bool trial = false;
  // How long the run waits for another run that holds the reference folder.
  std::chrono::milliseconds lockWait = kDefaultLockWait;
  // The reference folder's tables kept from an earlier conversion (a batch); null: the run reads
  // them anew. Used only when they are of the same Env and folder as the run's.
  std::shared_ptr<ReferenceFolder> tables;
  // The encoding of the data set's files: decided from them, or the user's choice.
  DataEncoding encoding = DataEncoding::kAuto;
};

// What a run tells its front end while it works.
class RunObserver : public WarningSink {
 public:
  // What the run is doing, for the message line: that it waits for another run that holds the
  // reference folder, and kMsgConverting again once the wait is over.
  virtual void Status(const Text& text) = 0;
  // A question answered Yes (true) or No: whether to create the missing destination folders.
  virtual bool Ask(const Text& question) = 0;
  // The checks and the question are over: the run works from here until it returns.
  virtual void WorkStarts() {}
  // Once for each look at the reference folder while another run holds it, after the first.
  virtual void StillWaiting() {}
  // True once the user has asked to give the run up. A run asks only while it waits for the
  // reference folder, where it has changed nothing yet.
  virtual bool CancelRequested() { return false; }
  // Every section is converted; the run gathers its report before it returns.
  virtual void Converted() {}
  // A warning after which the run goes on.
  void Warn(const Text& text) override = 0;
};

// Converts the data set of `request.source` into `request.destination` over the files of
// `env` (a trial request: over a copy in memory that is dropped afterwards). Every failure ends
// in the report: its `error` says which stop it was and what to show.
RunReport Convert(const ConversionRequest& request, Env& env, RunObserver& observer);

// A trial over `trialFiles`, a memory Env the caller keeps over the real files: trials of
// several conversions in a row (a batch) see what the earlier ones would have written and
// registered, and the caller can look at the files afterwards. The folder question is answered
// Yes (the folders are created in memory only); the report is marked as a trial.
RunReport ConvertInMemory(const ConversionRequest& request, MemoryEnv& trialFiles,
                          RunObserver& observer);

}  // namespace ostra
