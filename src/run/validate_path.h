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

// The rule a refused path broke, and what broke it.
struct PathRefusal {
  enum class Rule {
    kNone,
    kCharacter,         // a blank, "*" or "?": `what` is the character, `level` its level
    kControl,           // a control character: `what` is it, `level` its level
    kNoDrive,           // no drive letter before the colon
    kDriveNotReady,     // `what` is the drive ("D:")
    kEmptyLevel,        // "\\" in the path
    kNameTooLong,       // `level`'s name before its dot is longer than 8
    kExtensionTooLong,  // `level`'s extension is longer than 3 bytes
    kTwoDots,           // `level` has a second dot
  };
  Rule rule = Rule::kNone;
  Text what;
  Text level;
};

// Accepts a plain absolute folder path on a usable drive whose components follow the short-name
// rules, and normalises it in place (trimmed, "\" after the drive colon and at the end). When
// refused, `why` (if given) tells which rule failed.
PathCheck ValidatePath(Env& env, Text& path, PathRefusal* why = nullptr);

// The sentence that says which rule a refused path broke ("" for none), to follow kMsgBadPath.
Text PathRefusalText(const PathRefusal& why);

}  // namespace ostra
