// Files kept in memory, on drive-form paths ("W:\OUT\X1.TXT", names compared without regard to
// ASCII letter case). Over a base Env, the files of the base show through until they are
// written or removed here; nothing is ever written to the base. A trial run converts against
// the real files this way, and the tests convert without a disk.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>

#include "env/env.h"

namespace ostra {

class MemoryEnv : public Env {
 public:
  explicit MemoryEnv(Env* base = nullptr) : base_(base) {}

  // Test helpers: a folder (with the folders above it), a whole file, a file's bytes.
  void AddFolder(const Text& path);
  void SetFile(const Text& path, std::string bytes);
  std::optional<std::string> File(const Text& path);
  // The files written here, as spelled when they were created, in order of their paths.
  std::vector<Text> WrittenFiles() const;
  // Gives a name the facts a test needs: a link, hard links, read-only, a pipe (kOther).
  void SetFacts(const Text& path, const FileFacts& facts);
  void SetProgramFolder(const Text& folder) { programFolder_ = folder; }

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
  // Memory holds nothing to force; the folder must exist.
  void SyncFolder(const Text& path) override;
  std::unique_ptr<HeldLock> TryLock(const Text& path) override;
  // A clock of its own that only Sleep moves on, so that waiting takes no time.
  Clock::time_point Now() override { return now_; }
  void Sleep(std::chrono::milliseconds duration) override { now_ += duration; }
  Text ProgramFolder() override;

 private:
  struct Node {
    Text spelled;                     // the path as it was first written
    FileKind kind = FileKind::kNone;  // kNone: removed here (hides the base's file)
    std::shared_ptr<std::string> bytes;
    FileFacts facts;  // as set by SetFacts (its kind is the node's)
  };
  class MemoryFile;
  class Lock;

  Node* Find(const Text& path);
  // The node of a file about to change, holding the base's content when it came from there.
  Node& Writable(const Text& path, FileOp op);
  void RequireParent(const Text& path, int code, FileOp op);

  Env* base_;
  std::map<Text, Node> nodes_;  // by folded path
  std::set<Text> locks_;
  Clock::time_point now_{};
  Text programFolder_;
};

}  // namespace ostra
