// Drive-form paths over an Env of host paths: every path is turned into a host path through the
// drive map before it is passed on, and every error names the drive-form path again. On
// Windows the system's drives map to themselves, so that the map is the identity for them.
#pragma once

#include <optional>

#include "env/drives.h"
#include "env/env.h"

namespace ostra {

class DriveMapEnv : public EnvWrapper {
 public:
  DriveMapEnv(Env& host, DriveMap drives) : EnvWrapper(host), drives_(std::move(drives)) {}

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
  DriveMap drives_;
};

}  // namespace ostra
