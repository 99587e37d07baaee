// The destination path check.
#pragma once

#include "base/codec.h"
#include "env/env.h"
#include "run/ui_port.h"

namespace ostra {

// The message shown when the path does not start with a drive letter and ":".
extern const char16_t* const kDriveNameMessage;

// Accepts a plain absolute folder path on a usable drive whose components follow the short-name
// rules, and normalises it in place (trimmed, "\" after the drive colon and at the end).
bool ValidatePath(Env& env, Text& path, UiPort& ui);

}  // namespace ostra
