#include "env/interrupt_env.h"

#include <utility>

namespace ostra {

void InterruptEnv::Check() const {
  if (flag_.load()) throw ProblemError(Problem::kInterrupted, {}, Text(), ErrorKind::kDeclined);
}

std::unique_ptr<WritableFile> InterruptEnv::OpenWrite(const Text& path, WriteMode mode) {
  Check();
  return target().OpenWrite(path, mode);
}

void InterruptEnv::Truncate(const Text& path, std::int64_t size) {
  Check();
  target().Truncate(path, size);
}

void InterruptEnv::MakeFolder(const Text& path) {
  Check();
  target().MakeFolder(path);
}

void InterruptEnv::RemoveFile(const Text& path) {
  Check();
  target().RemoveFile(path);
}

void InterruptEnv::CopyFile(const Text& from, const Text& to) {
  Check();
  target().CopyFile(from, to);
}

void InterruptEnv::ReplaceFile(const Text& from, const Text& to) {
  Check();
  target().ReplaceFile(from, to);
}

std::unique_ptr<HeldLock> InterruptEnv::TryLock(const Text& path) {
  Check();
  return target().TryLock(path);
}

}  // namespace ostra
