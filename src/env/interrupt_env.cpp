#include "env/interrupt_env.h"

#include <algorithm>
#include <utility>

#include "base/sjis.h"

namespace ostra {

void InterruptEnv::Check() const {
  if (flag_.load()) throw ProblemError(Problem::kInterrupted, {}, Text(), ErrorKind::kDeclined);
}

void InterruptEnv::AllowAfterStop(const std::vector<Text>& names) {
  for (const Text& name : names) allowed_.push_back(UpperAscii(name));
}

void InterruptEnv::CheckChange(std::initializer_list<const Text*> paths) const {
  const bool allowed = std::all_of(paths.begin(), paths.end(), [this](const Text* path) {
    const size_t slash = path->find_last_of(u"\\/");
    const Text name = UpperAscii(slash == Text::npos ? *path : path->substr(slash + 1));
    return std::find(allowed_.begin(), allowed_.end(), name) != allowed_.end();
  });
  if (!allowed) Check();
}

std::unique_ptr<WritableFile> InterruptEnv::OpenWrite(const Text& path, WriteMode mode) {
  CheckChange({&path});
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
  CheckChange({&path});
  target().RemoveFile(path);
}

void InterruptEnv::CopyFile(const Text& from, const Text& to) {
  Check();
  target().CopyFile(from, to);
}

void InterruptEnv::ReplaceFile(const Text& from, const Text& to) {
  CheckChange({&from, &to});
  target().ReplaceFile(from, to);
}

std::unique_ptr<HeldLock> InterruptEnv::TryLock(const Text& path) {
  Check();
  return target().TryLock(path);
}

}  // namespace ostra
