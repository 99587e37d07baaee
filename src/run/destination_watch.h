// Notes whether a run has begun to change the files of its destination: from then on, a run that
// stops leaves the destination with the outputs of an unfinished run.
#pragma once

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// Passes every call on; a write, truncation, removal, copy or replacement of a file in the
// watched folder (or below it) marks the destination as begun, whether it succeeds or not (a
// failed one may already have changed the file).
class DestinationWatch : public EnvWrapper {
 public:
  using EnvWrapper::EnvWrapper;

  // The folder watched from now on (drive form, ending with "\").
  void Watch(const Text& folder);
  bool Begun() const { return begun_; }

  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override;
  void Truncate(const Text& path, std::int64_t size) override;
  void RemoveFile(const Text& path) override;
  void CopyFile(const Text& from, const Text& to) override;
  void ReplaceFile(const Text& from, const Text& to) override;

 private:
  void Note(const Text& path);
  Text folder_;  // in upper case; empty: nothing watched yet
  bool begun_ = false;
};

}  // namespace ostra
