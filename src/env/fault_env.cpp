#include "env/fault_env.h"

#include <algorithm>
#include <utility>

namespace ostra {

class FaultEnv::File : public WritableFile {
 public:
  File(FaultEnv& env, std::unique_ptr<WritableFile> file, Text path)
      : env_(env), file_(std::move(file)), path_(std::move(path)) {}
  void Append(std::string_view bytes) override {
    env_.Step(FaultKind::kWrite, path_);
    file_->Append(bytes);
  }
  void Sync() override {
    env_.Step(FaultKind::kWrite, path_);
    file_->Sync();
  }
  void Close() override {
    env_.Step(FaultKind::kWrite, path_);
    file_->Close();
  }

 private:
  FaultEnv& env_;
  std::unique_ptr<WritableFile> file_;
  Text path_;
};

namespace {

FileOp OpOf(FaultKind kind) {
  switch (kind) {
    case FaultKind::kRead:
      return FileOp::kRead;
    case FaultKind::kOpen:
      return FileOp::kOpen;
    case FaultKind::kWrite:
      return FileOp::kWrite;
    case FaultKind::kLock:
      return FileOp::kLock;
    case FaultKind::kQuery:
      return FileOp::kQuery;
    default:
      return FileOp::kCreate;
  }
}

}  // namespace

void FaultEnv::Step(FaultKind kind, const Text& path) {
  if ((kinds_ & static_cast<unsigned>(kind)) == 0) return;
  if (++count_ != failAt_) return;
  failed_ = true;
  failedPath_ = path;
  if (atFailure_) atFailure_();
  throw FileError(ErrorKind::kSystem, OpOf(kind), FileError::kAccessError, path,
                  FileDetail::kTestFault);
}

FileKind FaultEnv::KindOf(const Text& path) {
  Step(FaultKind::kQuery, path);
  return target().KindOf(path);
}

bool FaultEnv::IsSelectable(const Text& path) {
  Step(FaultKind::kQuery, path);
  return target().IsSelectable(path);
}

std::int64_t FaultEnv::FileSize(const Text& path) {
  Step(FaultKind::kQuery, path);
  return target().FileSize(path);
}

std::vector<FolderEntry> FaultEnv::ListFolder(const Text& path) {
  Step(FaultKind::kQuery, path);
  return target().ListFolder(path);
}

FileFacts FaultEnv::Inspect(const Text& path) {
  Step(FaultKind::kQuery, path);
  return target().Inspect(path);
}

std::string FaultEnv::ReadFile(const Text& path) {
  Step(FaultKind::kRead, path);
  return target().ReadFile(path);
}

std::unique_ptr<WritableFile> FaultEnv::OpenWrite(const Text& path, WriteMode mode) {
  Step(FaultKind::kOpen, path);
  return std::make_unique<File>(*this, target().OpenWrite(path, mode), path);
}

void FaultEnv::Truncate(const Text& path, std::int64_t size) {
  Step(FaultKind::kChange, path);
  target().Truncate(path, size);
}

void FaultEnv::MakeFolder(const Text& path) {
  Step(FaultKind::kChange, path);
  target().MakeFolder(path);
}

void FaultEnv::RemoveFile(const Text& path) {
  Step(FaultKind::kChange, path);
  target().RemoveFile(path);
}

void FaultEnv::CopyFile(const Text& from, const Text& to) {
  Step(FaultKind::kChange, to);
  target().CopyFile(from, to);
}

void FaultEnv::ReplaceFile(const Text& from, const Text& to) {
  Step(FaultKind::kChange, to);
  target().ReplaceFile(from, to);
}

void FaultEnv::SyncFolder(const Text& path) {
  Step(FaultKind::kChange, path);
  target().SyncFolder(path);
}

std::unique_ptr<HeldLock> FaultEnv::TryLock(const Text& path) {
  Step(FaultKind::kLock, path);
  return target().TryLock(path);
}

class DiskFullEnv::File : public WritableFile {
 public:
  File(DiskFullEnv& env, std::unique_ptr<WritableFile> file, Text path)
      : env_(env), file_(std::move(file)), path_(std::move(path)) {}
  void Append(std::string_view bytes) override {
    const size_t fits = env_.Take(bytes.size());
    if (fits > 0) file_->Append(bytes.substr(0, fits));
    if (fits < bytes.size()) {
      throw FileError(ErrorKind::kSystem, FileOp::kWrite, FileError::kDiskFull, path_);
    }
  }
  void Sync() override { file_->Sync(); }
  void Close() override { file_->Close(); }

 private:
  DiskFullEnv& env_;
  std::unique_ptr<WritableFile> file_;
  Text path_;
};

std::unique_ptr<WritableFile> DiskFullEnv::OpenWrite(const Text& path, WriteMode mode) {
  return std::make_unique<File>(*this, target().OpenWrite(path, mode), path);
}

size_t DiskFullEnv::Take(size_t size) {
  const size_t fits = left_ <= 0 ? 0 : std::min<size_t>(size, static_cast<size_t>(left_));
  left_ -= static_cast<long long>(fits);
  if (fits < size) full_ = true;
  return fits;
}

}  // namespace ostra
