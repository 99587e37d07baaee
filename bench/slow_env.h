// An Env that makes every metadata operation and every open wait, as a file server does: the
// benchmark's stand-in for a shared folder on the network.
#pragma once

#include <chrono>
#include <thread>

#include "env/env.h"

namespace ostra::bench {

class SlowEnv : public EnvWrapper {
 public:
  SlowEnv(Env& target, std::chrono::microseconds delay) : EnvWrapper(target), delay_(delay) {}

  FileKind KindOf(const Text& path) override { return Wait(), target().KindOf(path); }
  bool IsSelectable(const Text& path) override { return Wait(), target().IsSelectable(path); }
  std::int64_t FileSize(const Text& path) override { return Wait(), target().FileSize(path); }
  std::vector<FolderEntry> ListFolder(const Text& path) override {
    return Wait(), target().ListFolder(path);
  }
  FileFacts Inspect(const Text& path) override { return Wait(), target().Inspect(path); }
  std::string ReadFile(const Text& path) override { return Wait(), target().ReadFile(path); }
  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override {
    return Wait(), target().OpenWrite(path, mode);
  }
  void Truncate(const Text& path, std::int64_t size) override {
    Wait();
    target().Truncate(path, size);
  }
  void MakeFolder(const Text& path) override {
    Wait();
    target().MakeFolder(path);
  }
  void RemoveFile(const Text& path) override {
    Wait();
    target().RemoveFile(path);
  }
  void CopyFile(const Text& from, const Text& to) override {
    Wait();  // two opens
    Wait();
    target().CopyFile(from, to);
  }
  void ReplaceFile(const Text& from, const Text& to) override {
    Wait();
    target().ReplaceFile(from, to);
  }
  void SyncFolder(const Text& path) override {
    Wait();
    target().SyncFolder(path);
  }
  std::unique_ptr<HeldLock> TryLock(const Text& path) override {
    return Wait(), target().TryLock(path);
  }
  // Operations so far that waited.
  long Waits() const { return waits_; }

 private:
  void Wait() {
    ++waits_;
    std::this_thread::sleep_for(delay_);
  }
  std::chrono::microseconds delay_;
  long waits_ = 0;
};

}  // namespace ostra::bench
