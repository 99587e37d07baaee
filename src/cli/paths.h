// Paths given on the command line: drive-form texts stand as they are, host paths go through
// the drive map.
#pragma once

#include <optional>
#include <string>

#include "base/codec.h"
#include "env/drives.h"

namespace ostra {

// "D:\WORK", "D:WORK" and "D:" are drive forms, also with blanks around them (the run's path
// check trims them).
bool LooksDriveForm(const std::string& arg);

// Why an argument can be neither a drive-form path nor a host path ("1:\X", ":\X" and
// "\\SERVER\SHARE" on Linux); empty when it can be one.
std::string PathArgumentProblem(const std::string& arg);

// The drive form of a command-line path; none when a host path lies on no mapped drive.
std::optional<Text> DriveFormOf(const DriveMap& drives, const std::string& arg);

// A drive-form path as the system compares it: blanks around it dropped, "." and empty levels
// left out, ".." taken back, ASCII letters in upper case, no "\" at the end ("d:\work\.\B-1\"
// gives "D:\WORK\B-1"). A path on a mapped drive is first named by the drive that maps the
// deepest folder holding it, so that two drives reaching one folder give one form.
Text ComparableDriveForm(const DriveMap& drives, const Text& path);

// Whether the file name of a path starts with "MDT", in any letter case (or is missing).
bool IsMdtFileName(const Text& path);

}  // namespace ostra
