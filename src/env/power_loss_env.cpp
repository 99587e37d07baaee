#include "env/power_loss_env.h"

#include <iterator>
#include <utility>

#include "base/sjis.h"
#include "env/path_keys.h"

namespace ostra {

class PowerLossEnv::File : public WritableFile {
 public:
  File(PowerLossEnv& env, std::unique_ptr<WritableFile> file, Text path)
      : env_(env), file_(std::move(file)), path_(std::move(path)) {}
  void Append(std::string_view bytes) override {
    env_.Step(path_);
    file_->Append(bytes);
  }
  void Sync() override {
    env_.Step(path_);
    file_->Sync();
    env_.DataSynced(path_);
  }
  void Close() override {
    env_.Step(path_);
    file_->Close();
  }

 private:
  PowerLossEnv& env_;
  std::unique_ptr<WritableFile> file_;
  Text path_;
};

PowerLossEnv::PowerLossEnv(MemoryEnv& target, long lossAt)
    : EnvWrapper(target), memory_(target), lossAt_(lossAt) {
  for (const Text& path : memory_.WrittenFiles()) {
    std::string bytes = memory_.ReadFile(path);
    live_[PathKey(path)] = Live{path, bytes, true};
    disk_[PathKey(path)] = Stored{path, std::move(bytes)};
  }
}

void PowerLossEnv::Survivors(MemoryEnv& disk) const {
  for (const auto& [key, file] : disk_) disk.SetFile(file.spelled, file.bytes);
}

void PowerLossEnv::Step(const Text& path) {
  if (!lost_ && ++count_ == lossAt_) {
    lost_ = true;
    lostAt_ = path;
  }
  if (lost_)
    throw FileError(ErrorKind::kSystem, FileOp::kWrite, FileError::kAccessError, path,
                    FileDetail::kTestPowerCut);
}

void PowerLossEnv::DataSynced(const Text& path) {
  auto it = live_.find(PathKey(path));
  if (it == live_.end() || !memory_.FileExists(path)) return;
  it->second.synced = memory_.ReadFile(path);
  if (it->second.named) disk_[it->first] = Stored{it->second.spelled, it->second.synced};
}

void PowerLossEnv::Created(const Text& path) {
  live_[PathKey(path)] = Live{path, std::string(), false};
}

std::unique_ptr<WritableFile> PowerLossEnv::OpenWrite(const Text& path, WriteMode mode) {
  Step(path);
  const bool existed = memory_.FileExists(path);
  auto file = std::make_unique<File>(*this, target().OpenWrite(path, mode), path);
  // A file cut short by kCreate keeps its data on the disk until it is synced.
  if (!existed || live_.count(PathKey(path)) == 0) Created(path);
  return file;
}

void PowerLossEnv::Truncate(const Text& path, std::int64_t size) {
  Step(path);
  target().Truncate(path, size);
}

void PowerLossEnv::MakeFolder(const Text& path) {
  Step(path);
  target().MakeFolder(path);
}

void PowerLossEnv::RemoveFile(const Text& path) {
  Step(path);
  target().RemoveFile(path);
  live_.erase(PathKey(path));
}

void PowerLossEnv::CopyFile(const Text& from, const Text& to) {
  Step(to);
  const bool existed = memory_.FileExists(to);
  target().CopyFile(from, to);
  if (!existed || live_.count(PathKey(to)) == 0) Created(to);
}

void PowerLossEnv::ReplaceFile(const Text& from, const Text& to) {
  Step(to);
  target().ReplaceFile(from, to);
  // The source's data was forced first; the new name waits for the folder's sync.
  live_.erase(PathKey(from));
  live_[PathKey(to)] = Live{to, memory_.ReadFile(to), false};
}

void PowerLossEnv::SyncFolder(const Text& path) {
  Step(path);
  target().SyncFolder(path);
  const Text folder = PathKey(path);
  for (auto& [key, file] : live_) {
    if (ParentKey(key) != folder || !memory_.FileExists(file.spelled)) continue;
    file.named = true;
    disk_[key] = Stored{file.spelled, file.synced};
  }
  for (auto it = disk_.begin(); it != disk_.end();) {
    const bool gone = ParentKey(it->first) == folder && !memory_.FileExists(it->second.spelled);
    it = gone ? disk_.erase(it) : std::next(it);
  }
}

std::unique_ptr<HeldLock> PowerLossEnv::TryLock(const Text& path) {
  Step(path);
  return target().TryLock(path);
}

}  // namespace ostra
