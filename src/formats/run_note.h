// The note a run leaves in its destination when it stops after it has begun writing the
// outputs: the files there are then those of an unfinished run, and the picture of that
// destination says so. A run that completes removes the note.
#pragma once

#include <optional>

#include "base/codec.h"
#include "env/env.h"

namespace ostra {

// The note's file in the destination folder; not a file the target system imports.
inline constexpr const char16_t* kRunNoteFileName = u"OSTRACONV_STOPPED.TXT";
// The name the note is written under before it takes its own.
inline constexpr const char16_t* kRunNoteTemporaryName = u"OSTRACONV_STOPPED.TMP";

// Writes the note into `folder` (drive form, with or without a trailing "\"): `text` is why the
// run stopped, worded for the user. Throws what the Env throws.
void WriteRunNote(Env& env, const Text& folder, const Text& text);
// Removes the note from `folder` when it is there.
void RemoveRunNote(Env& env, const Text& folder);
// The note of `folder`, when it has one that can be read: the line to show in the title block
// ("変換は途中で止まりました（…）：…").
std::optional<Text> ReadRunNote(Env& env, const Text& folder);

}  // namespace ostra
