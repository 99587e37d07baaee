// The boring-log picture on the printer: at its depth scale, split over pages with the column
// headings on each and the title block on the first, inside margins of 10 mm.
#pragma once

#include <windows.h>

#include "base/codec.h"
#include "preview/boring_log_model.h"

namespace ostra::win {

inline constexpr double kPaperMarginMm = 10;

// Prints the pages on `printer` (StartDoc and EndDoc are the caller's). Returns the number of
// pages, 0 when the printer refused one.
int PrintPages(HDC printer, const BoringLogModel& model, double denominator);

// Asks for the printer with the system's print dialog, then prints the document `title`.
// False when the user cancelled or printing failed.
bool PrintPicture(HWND owner, const BoringLogModel& model, double denominator, const Text& title);

}  // namespace ostra::win
