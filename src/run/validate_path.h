// The destination path check.
#pragma once

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// The message shown when the path does not start with a drive letter and ":".
extern const char16_t* const kDriveNameMessage;

enum class PathCheck {
  kAccepted,
  kNoDriveName,  // refused, and kDriveNameMessage says why
  kRefused,      // refused without a word of its own
};

// Accepts a plain absolute folder path on a usable drive whose components follow the short-name
// rules, and normalises it in place (trimmed, "\" after the drive colon and at the end).
PathCheck ValidatePath(Env& env, Text& path);

}  // namespace ostra
