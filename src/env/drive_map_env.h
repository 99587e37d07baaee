// Drive-form paths over an Env of host paths: every path is turned into a host path through the
// drive map before it is passed on, and every error names the drive-form path again. On
// Windows the system's drives map to themselves, so that the map is the identity for them.
#pragma once

#include <memory>
#include <optional>

#include "env/drives.h"
#include "env/env.h"
#include "env/remembering_env.h"

namespace ostra {

class DriveMapEnv : public EnvWrapper {
 public:
  DriveMapEnv(Env& host, DriveMap drives) : EnvWrapper(host), drives_(std::move(drives)) {}

  // While it lives, the map remembers what its host told (see RememberingEnv): for one
  // conversion, each name is looked up once and each file read once. An inner scope leaves the
  // outer one's memory in place.
  class RunScope {
   public:
    explicit RunScope(DriveMapEnv& env);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

   private:
    DriveMapEnv& env_;
    std::unique_ptr<RememberingEnv> memory_;
  };

  DriveMap& Drives() { return drives_; }
  const DriveMap& Drives() const { return drives_; }
  // The host path of a drive-form path; FileError (path not found) when its drive is not
  // mapped. On POSIX an existing file or folder is found whatever the ASCII letter case of its
  // name, component by component, as on Windows.
  Text ToHost(const Text& drivePath);

  FileKind KindOf(const Text& path) override;
  bool IsSelectable(const Text& path) override;
  std::int64_t FileSize(const Text& path) override;
  std::vector<FolderEntry> ListFolder(const Text& path) override;
  FileFacts Inspect(const Text& path) override;
  std::string ReadFile(const Text& path) override;
  std::unique_ptr<WritableFile> OpenWrite(const Text& path, WriteMode mode) override;
  void Truncate(const Text& path, std::int64_t size) override;
  void MakeFolder(const Text& path) override;
  void RemoveFile(const Text& path) override;
  void CopyFile(const Text& from, const Text& to) override;
  void ReplaceFile(const Text& from, const Text& to) override;
  void SyncFolder(const Text& path) override;
  std::unique_ptr<HeldLock> TryLock(const Text& path) override;
  Text ProgramFolder() override;

 private:
  // The host path; none when the drive is not mapped (the path names nothing).
  std::optional<Text> HostOrNone(const Text& drivePath);
  // The host Env, through the run's memory while a RunScope lives.
  Env& target() { return memory_ != nullptr ? *memory_ : EnvWrapper::target(); }
  DriveMap drives_;
  RememberingEnv* memory_ = nullptr;
};

}  // namespace ostra
