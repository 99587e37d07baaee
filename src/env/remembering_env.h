// An Env that remembers, for as long as it lives (one conversion), what its target told of each
// path: the facts of a name, the entries of a folder, the bytes of a file read or written. A
// question it can answer from what it knows is not asked again; every change made through it
// updates what it knows, and a change that fails forgets what it touched. What others change
// meanwhile is not seen: it lives for one run only, whose files are under the lock or its own.
//
// It works on any paths whose folders are separated by "/" or "\"; on Windows names are
// compared without regard to ASCII letter case, as the system does.
#pragma once

#include <map>
#include <memory>
#include <optional>

#include "env/env.h"

namespace ostra {

class RememberingEnv : public EnvWrapper {
 public:
  explicit RememberingEnv(Env& target);

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
  std::unique_ptr<HeldLock> TryLock(const Text& path) override;
  Text ProgramFolder() override;

  // What is known of one name.
  struct Known {
    std::optional<FileKind> kind;
    std::optional<FileFacts> facts;  // all a query tells (the kind agrees)
    std::optional<std::int64_t> size;
    std::optional<std::string> bytes;              // the whole file
    std::optional<std::vector<FolderEntry>> list;  // the folder's entries
  };
  struct Memory {
    std::map<Text, Known> names;  // by key (see KeyOf)
    std::optional<Text> programFolder;
  };

 private:
  Known& Of(const Text& path) { return memory_->names[KeyOf(path)]; }
  static Text KeyOf(const Text& path);
  // Asks the target for the facts of a name and remembers them.
  Known& Look(const Text& path);
  // The kind when known, also from the folder's entries.
  std::optional<FileKind> KnownKind(const Text& path);

  std::shared_ptr<Memory> memory_;
};

}  // namespace ostra
