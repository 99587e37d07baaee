// What the drive, folder and file lists of the window show. They work on drive-form paths
// ("T:\GEO") through the drive map, like the classic drive, folder and file list boxes; a skin
// only draws the lines it is given.
#pragma once

#include <vector>

#include "app/form_view.h"
#include "base/codec.h"
#include "env/drive_map_env.h"

namespace ostra {

// Names of the folders inside `folder`, sorted without regard to letter case. Hidden folders
// (names starting with ".") are left out. An unreadable folder gives an empty list.
std::vector<Text> ListSubfolders(Env& env, const Text& folder);
// Whether a folder exists and can be looked at (a folder the system cannot read is passed by).
bool FolderReachable(Env& env, const Text& folder);
// Names of the ordinary files in `folder` that match `pattern`, sorted like ListSubfolders.
// `pattern` may hold several patterns separated by ";" ("MDT*.GDF;BED*.XML"): a name that
// matches any of them is listed.
std::vector<Text> ListMatchingFiles(Env& env, const Text& folder, const Text& pattern);
// Wildcard match with "*" and "?", ignoring the letter case of ASCII letters.
bool MatchesPattern(const Text& name, const Text& pattern);
// The file or folder `name` in `folder`, joined through one "\".
Text JoinPath(const Text& folder, const Text& name);

// The line of a drive list for a mapped letter: "T:", followed by " [host folder]" when the
// letter has one ("T: [/tmp/geo]").
Text DriveLine(const DriveMap& drives, char16_t letter);
// One line per mapped drive, in the order of DriveMap::Letters.
std::vector<Text> DriveLines(const DriveMap& drives);

// A folder list opened at `folder` (drive form, normalised): the levels from the root down to
// the folder, then its subfolders; `paths` holds the full path of each row, and `current` is the
// row of `folder` itself.
struct FolderListing {
  std::vector<FolderRow> rows;
  std::vector<Text> paths;
  int current = 0;
};
FolderListing ListFolderRows(Env& env, const Text& folder);

}  // namespace ostra
