// Where the windows the program opens (the report, the picture) go: beside the main window, so
// that Execute and the message line stay visible.
#pragma once

#include "app/form_view.h"

namespace ostra {

// The place of an added window of `width` x `height` next to `main` within the screen's work
// area `area`: to the right of the main window where it fits, else to its left, else over the
// part of the screen the main window leaves most of, cascaded by `index` (0 for the first
// added window, 1 for the second) so that two added windows do not cover each other exactly.
// The result lies within `area` (shrunk to it when larger) and never covers the main window's
// Execute button and message line when the screen has room beside it.
ScreenRect PlaceBeside(const ScreenRect& main, int width, int height, const ScreenRect& area,
                       int index);

}  // namespace ostra
