// Drive-form paths ("D:\OUT\P123") and the drive map that turns them into host paths.
//
// Inside a conversion every path is a drive-form text. A drive map gives each letter a host
// folder. On Windows the system's drives map to themselves by default; on POSIX Z: is "/".
// OSTRACONV_DRIVES ("C=/home/me/geo;D=/mnt/usb") and callers add letters mapped to folders,
// which work like substituted drives.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "base/codec.h"

namespace ostra {

class DriveMap {
 public:
  // The process-wide map used by every file operation.
  static DriveMap& Instance();

  // Restores the defaults: the system drives (Windows) or Z: -> "/" (POSIX), plus
  // OSTRACONV_DRIVES.
  void LoadDefaults();
  void Clear();
  // Maps a letter (either case) to a host folder; replaces an earlier mapping.
  void Set(char16_t letter, const std::filesystem::path& root);
  void Remove(char16_t letter);
  // Parses "C=/dir;D=/other" (also accepts "C:=/dir"); returns false on a malformed entry.
  bool AddSpec(const std::string& spec);

  std::optional<std::filesystem::path> Root(char16_t letter) const;
  // The mapped letters, "A" to "Z" in order (upper case).
  std::vector<char16_t> Letters() const;

  // Host path of a drive-form path. Throws FileError (path not found) when the text has no
  // mapped drive. On POSIX an existing file or folder is found case-insensitively, component
  // by component, when the exact spelling does not exist.
  std::filesystem::path ToHost(const Text& drivePath) const;
  // Drive form of a host path, through the mapped root that is its longest prefix.
  std::optional<Text> ToDriveForm(const std::filesystem::path& host) const;

 private:
  std::map<char16_t, std::filesystem::path> roots_;
};

// A host path as text (UTF-8 on POSIX, UTF-16 on Windows), and back.
Text HostText(const std::filesystem::path& p);
std::filesystem::path HostPath(const Text& text);

// Upper-case drive letter of a drive-form path, or 0 when the text does not start with "X:".
char16_t DriveLetterOf(const Text& drivePath);

// A drive is usable when it is mapped and its folder exists (the drive is "ready").
bool DriveReady(char16_t letter);

}  // namespace ostra
