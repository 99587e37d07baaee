#include "env/files.h"

#include <utility>

#include "base/text_lines.h"

namespace ostra {

namespace {

constexpr size_t kFlushSize = 64 * 1024;

}  // namespace

Text ReadFileText(Env& env, const Text& path) {
  return DecodeCp932(env.ReadFile(path));
}

std::vector<Text> ReadFileLines(Env& env, const Text& path) {
  return SplitLines(ReadFileText(env, path));
}

void TouchFile(Env& env, const Text& path) {
  if (env.PathExists(path)) return;
  std::unique_ptr<WritableFile> file;
  try {
    file = env.OpenWrite(path, WriteMode::kAppend);
  } catch (const FileError& e) {
    throw e.AsOp(FileOp::kCreate);
  }
  file->Close();
}

void AppendLines(Env& env, const Text& path, const std::vector<Text>& lines) {
  std::string bytes;
  for (const Text& line : lines) {
    bytes += EncodeCp932(line);
    bytes += "\r\n";
  }
  std::unique_ptr<WritableFile> file = env.OpenWrite(path, WriteMode::kAppend);
  file->Append(bytes);
  file->Close();
}

bool DriveReady(Env& env, char16_t letter) {
  return letter != 0 && env.FolderExists(Text(1, letter) + u":\\");
}

OutFile::OutFile(OutFile&& other) noexcept
    : file_(std::move(other.file_)),
      path_(std::move(other.path_)),
      buffer_(std::move(other.buffer_)) {}

OutFile& OutFile::operator=(OutFile&& other) {
  if (this != &other) {
    Close();
    file_ = std::move(other.file_);
    path_ = std::move(other.path_);
    buffer_ = std::move(other.buffer_);
  }
  return *this;
}

OutFile::~OutFile() {
  if (file_ == nullptr) return;
  try {
    Close();
  } catch (const FileError&) {
    // Only a file left open by a run that stopped on another error ends here; that error is
    // the one reported.
  }
}

void OutFile::Open(Env& env, const Text& path, Mode mode) {
  if (file_ != nullptr) Close();
  file_ = env.OpenWrite(path, mode == Mode::kCreate   ? WriteMode::kCreate
                              : mode == Mode::kAppend ? WriteMode::kAppend
                                                      : WriteMode::kCreateNew);
  path_ = path;
  buffer_.clear();
}

void OutFile::Write(TextView text) {
  buffer_ += EncodeCp932(text);
  if (buffer_.size() >= kFlushSize) Flush();
}

void OutFile::Line(TextView text) {
  buffer_ += EncodeCp932(text);
  buffer_ += "\r\n";
  if (buffer_.size() >= kFlushSize) Flush();
}

void OutFile::Flush() {
  if (file_ == nullptr || buffer_.empty()) return;
  const std::string bytes = std::exchange(buffer_, std::string());
  file_->Append(bytes);
}

void OutFile::Sync() {
  Flush();
  if (file_ != nullptr) file_->Sync();
}

void OutFile::Close() {
  if (file_ == nullptr) return;
  std::unique_ptr<WritableFile> file = std::move(file_);
  if (!buffer_.empty()) {
    const std::string bytes = std::exchange(buffer_, std::string());
    file->Append(bytes);
  }
  file->Close();
}

}  // namespace ostra
