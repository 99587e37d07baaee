// An Env that stops a run when the user or the system asks the program to end (Ctrl-C, a
// termination signal, the window closed as the system shuts down). The front end sets the flag
// from its handler; from then on every operation that would change a file throws ProblemError
// (Problem::kInterrupted, ErrorKind::kDeclined) before it reaches the wrapped Env, so that the run
// stops through its ordinary path and reports what it did. Reads and queries go on (the report
// is made from them), and a file already open is written out and closed: a stop falls before
// the next file is opened or changed, never inside a write, so no half line is written.
#pragma once

#include <atomic>
#include <initializer_list>
#include <memory>
#include <vector>

#include "env/env.h"

namespace ostra {

class InterruptEnv : public EnvWrapper {
 public:
  InterruptEnv(Env& target, const std::atomic<bool>& flag) : EnvWrapper(target), flag_(flag) {}
  // Owning the wrapped Env.
  InterruptEnv(std::unique_ptr<Env> target, const std::atomic<bool>& flag)
      : EnvWrapper(*target), flag_(flag), owned_(std::move(target)) {}

  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override;
  void Truncate(const Text& path, std::int64_t size) override;
  void MakeFolder(const Text& path) override;
  void RemoveFile(const Text& path) override;
  void CopyFile(const Text& from, const Text& to) override;
  void ReplaceFile(const Text& from, const Text& to) override;
  std::unique_ptr<HeldLock> TryLock(const Text& path) override;

  // Throws when the flag is set.
  void Check() const;
  // Files of these names (in any folder, compared without regard to ASCII letter case) may still
  // be written, replaced and removed once the flag is set: a run that stops records there that
  // it stopped.
  void AllowAfterStop(const std::vector<Text>& names);

 private:
  // Check() unless every path is of a name allowed after a stop.
  void CheckChange(std::initializer_list<const Text*> paths) const;
  std::vector<Text> allowed_;  // in upper case
  const std::atomic<bool>& flag_;
  std::unique_ptr<Env> owned_;
};

}  // namespace ostra
