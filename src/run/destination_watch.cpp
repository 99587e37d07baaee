#include "run/destination_watch.h"

#include "base/sjis.h"

namespace ostra {

void DestinationWatch::Watch(const Text& folder) {
  folder_ = UpperAscii(folder);
}

void DestinationWatch::Note(const Text& path) {
  if (!folder_.empty() && UpperAscii(path).rfind(folder_, 0) == 0) begun_ = true;
}

std::unique_ptr<WritableFile> DestinationWatch::OpenWrite(const Text& path, WriteMode mode) {
  Note(path);
  return EnvWrapper::OpenWrite(path, mode);
}

void DestinationWatch::Truncate(const Text& path, std::int64_t size) {
  Note(path);
  EnvWrapper::Truncate(path, size);
}

void DestinationWatch::RemoveFile(const Text& path) {
  Note(path);
  EnvWrapper::RemoveFile(path);
}

void DestinationWatch::CopyFile(const Text& from, const Text& to) {
  Note(to);
  EnvWrapper::CopyFile(from, to);
}

void DestinationWatch::ReplaceFile(const Text& from, const Text& to) {
  Note(to);
  EnvWrapper::ReplaceFile(from, to);
}

}  // namespace ostra
