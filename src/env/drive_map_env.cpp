#include "env/drive_map_env.h"

#include "base/sjis.h"
#include "env/host_env.h"

namespace ostra {

namespace {

// Runs `op` on the host path, telling a failure of the drive-form path.
template <typename Op>
auto Told(const Text& drivePath, Op op) {
  try {
    return op();
  } catch (const FileError& e) {
    throw e.ForPath(drivePath);
  }
}

// A file being written, whose failures name the drive-form path.
class MappedFile : public WritableFile {
 public:
  MappedFile(std::unique_ptr<WritableFile> file, Text path)
      : file_(std::move(file)), path_(std::move(path)) {}
  void Append(std::string_view bytes) override {
    Told(path_, [&] { file_->Append(bytes); });
  }
  void Sync() override {
    Told(path_, [&] { file_->Sync(); });
  }
  void Close() override {
    Told(path_, [&] { file_->Close(); });
  }

 private:
  std::unique_ptr<WritableFile> file_;
  Text path_;
};

}  // namespace

DriveMapEnv::RunScope::RunScope(DriveMapEnv& env) : env_(env) {
  if (env_.memory_ != nullptr) return;
  memory_ = std::make_unique<RememberingEnv>(env_.EnvWrapper::target());
  env_.memory_ = memory_.get();
}

DriveMapEnv::RunScope::~RunScope() {
  if (memory_ != nullptr) env_.memory_ = nullptr;
}

Text DriveMapEnv::ToHost(const Text& drivePath) {
  std::optional<Text> host = HostOrNone(drivePath);
  if (!host)
    throw FileError(ErrorKind::kSystem, FileOp::kOpen, FileError::kPathNotFound, drivePath);
  return *host;
}

std::optional<Text> DriveMapEnv::HostOrNone(const Text& drivePath) {
  const char16_t letter = DriveLetterOf(drivePath);
  std::optional<std::filesystem::path> root = letter ? drives_.Root(letter) : std::nullopt;
  if (!root) return std::nullopt;
#ifdef _WIN32
  // The system finds names whatever their letter case.
  size_t start = drivePath.find_first_not_of(u'\\', 2);
  if (start == Text::npos) return HostText(*root);
  return HostText(*root / HostPath(drivePath.substr(start)));
#else
  std::filesystem::path host = *root;
  bool exists = true;  // while the path so far exists, look for case variants
  size_t pos = 2;
  while (pos <= drivePath.size()) {
    size_t end = drivePath.find(u'\\', pos);
    if (end == Text::npos) end = drivePath.size();
    const Text comp = drivePath.substr(pos, end - pos);
    pos = end + 1;
    if (comp.empty() || comp == u".") continue;
    if (comp == u"..") {
      host = host.parent_path();
      continue;
    }
    if (exists && Told(drivePath, [&] {
                    return target().KindOf(HostText(host / HostPath(comp)));
                  }) == FileKind::kNone) {
      exists = false;
      const Text folded = UpperAscii(comp);
      const Text folder = HostText(host);
      for (const FolderEntry& e : Told(drivePath, [&] { return target().ListFolder(folder); })) {
        if (UpperAscii(e.name) == folded) {
          host /= HostPath(e.name);
          exists = true;
          break;
        }
      }
      if (exists) continue;
    }
    host /= HostPath(comp);
  }
  return HostText(host);
#endif
}

FileKind DriveMapEnv::KindOf(const Text& path) {
  std::optional<Text> host = HostOrNone(path);
  return host ? Told(path, [&] { return target().KindOf(*host); }) : FileKind::kNone;
}

bool DriveMapEnv::IsSelectable(const Text& path) {
  std::optional<Text> host = HostOrNone(path);
  return host && Told(path, [&] { return target().IsSelectable(*host); });
}

std::int64_t DriveMapEnv::FileSize(const Text& path) {
  std::optional<Text> host = HostOrNone(path);
  return host ? Told(path, [&] { return target().FileSize(*host); }) : -1;
}

std::vector<FolderEntry> DriveMapEnv::ListFolder(const Text& path) {
  std::optional<Text> host = HostOrNone(path);
  if (!host) return {};
  return Told(path, [&] { return target().ListFolder(*host); });
}

FileFacts DriveMapEnv::Inspect(const Text& path) {
  std::optional<Text> host = HostOrNone(path);
  if (!host) return {};
  return Told(path, [&] { return target().Inspect(*host); });
}

std::string DriveMapEnv::ReadFile(const Text& path) {
  const Text host = ToHost(path);
  return Told(path, [&] { return target().ReadFile(host); });
}

std::unique_ptr<WritableFile> DriveMapEnv::OpenWrite(const Text& path, WriteMode mode) {
  const Text host = ToHost(path);
  return std::make_unique<MappedFile>(Told(path, [&] { return target().OpenWrite(host, mode); }),
                                      path);
}

void DriveMapEnv::Truncate(const Text& path, std::int64_t size) {
  const Text host = ToHost(path);
  Told(path, [&] { target().Truncate(host, size); });
}

void DriveMapEnv::MakeFolder(const Text& path) {
  const Text host = ToHost(path);
  Told(path, [&] { target().MakeFolder(host); });
}

void DriveMapEnv::RemoveFile(const Text& path) {
  const Text host = ToHost(path);
  Told(path, [&] { target().RemoveFile(host); });
}

void DriveMapEnv::CopyFile(const Text& from, const Text& to) {
  const Text hostFrom = ToHost(from);
  const Text hostTo = ToHost(to);
  try {
    target().CopyFile(hostFrom, hostTo);
  } catch (const FileError& e) {
    throw e.ForPath(e.Path() == hostFrom ? from : to);
  }
}

void DriveMapEnv::ReplaceFile(const Text& from, const Text& to) {
  const Text hostFrom = ToHost(from);
  const Text hostTo = ToHost(to);
  try {
    target().ReplaceFile(hostFrom, hostTo);
  } catch (const FileError& e) {
    throw e.ForPath(e.Path() == hostFrom ? from : to);
  }
}

void DriveMapEnv::SyncFolder(const Text& path) {
  const Text host = ToHost(path);
  Told(path, [&] { target().SyncFolder(host); });
}

std::unique_ptr<HeldLock> DriveMapEnv::TryLock(const Text& path) {
  const Text host = ToHost(path);
  return Told(path, [&] { return target().TryLock(host); });
}

Text DriveMapEnv::ProgramFolder() {
  const Text host = target().ProgramFolder();
  if (host.empty()) return Text();
  std::optional<Text> drive = drives_.ToDriveForm(HostPath(host));
  if (!drive) return Text();
  Text out = *drive;
  if (out.size() > 3 && out.back() == u'\\') out.pop_back();
  if (out.size() == 3 && out.back() == u'\\') out.pop_back();
  return out;
}

}  // namespace ostra
