// Drive-form paths ("D:\OUT\P123") and the drive map that turns them into host paths.
//
// Inside a conversion every path is a drive-form text. A drive map gives each letter a host
// folder: on Windows the system's drives map to themselves; on POSIX Z: is "/". Further letters
// (from the command line or OSTRACONV_DRIVES, "C=/home/me/geo;D=/mnt/usb") work like
// substituted drives.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/codec.h"

namespace ostra {

class DriveMap {
 public:
  // The system's drives (Windows) or Z: -> "/" (POSIX).
  static DriveMap SystemDefaults();

  void Clear() { roots_.clear(); }
  // Maps a letter (either case) to a host folder; replaces an earlier mapping.
  void Set(char16_t letter, const std::filesystem::path& root);
  void Remove(char16_t letter);
  // Parses "C=/dir;D=/other" (also accepts "C:=/dir"); returns false on a malformed entry.
  bool AddSpec(const std::string& spec);

  std::optional<std::filesystem::path> Root(char16_t letter) const;
  // The mapped letters, "A" to "Z" in order (upper case).
  std::vector<char16_t> Letters() const;

  // Drive form of a host path, through the mapped root that is its longest prefix.
  std::optional<Text> ToDriveForm(const std::filesystem::path& host) const;

 private:
  std::map<char16_t, std::filesystem::path> roots_;
};

// Upper-case drive letter of a drive-form path, or 0 when the text does not start with "X:".
char16_t DriveLetterOf(const Text& drivePath);

}  // namespace ostra
