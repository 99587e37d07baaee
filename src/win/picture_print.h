// The boring-log picture on the printer: at its depth scale, by the print plan of the picture
// (pages with the hole's name, the scale and their numbers, upright or turned), inside margins
// of 10 mm.
#pragma once

#include <windows.h>

#include <functional>

#include "base/codec.h"
#include "preview/boring_log_model.h"
#include "preview/boring_log_pages.h"

namespace ostra::win {

inline constexpr double kPaperMarginMm = 10;

// A sheet of paper: the device's dots per inch and the part of the page to draw on, inside the
// margins, in device dots from the printable area's corner.
struct Paper {
  double dpiX = 96;
  double dpiY = 96;
  RECT area{};
};
Paper PaperOf(HDC printer);

// The plan of the pages for the printable area of `paper`, taken upright.
PrintPlan PlanFor(const Paper& paper, const BoringLogModel& model, double denominator);

// Turns the paper of `printer` to landscape or back, through its settings `devMode` (from the
// print dialog), when it is not turned so already. False when it could not be turned.
bool TurnPaper(HDC printer, HGLOBAL devMode, bool landscape);

// Draws the picture page by page on `dc`: `startPage` before each page (false stops), `endPage`
// after it. Returns the number of pages, 0 when a page could not be started or ended.
int DrawPages(HDC dc, const Paper& paper, const BoringLogModel& model, double denominator,
              const std::function<bool()>& startPage, const std::function<bool()>& endPage);

// Prints the pages on `printer` (StartDoc and EndDoc are the caller's). Returns the number of
// pages, 0 when the printer refused one.
int PrintPages(HDC printer, const BoringLogModel& model, double denominator);

// Asks for the printer with the system's print dialog, then prints the document `title`.
// False when the user cancelled or printing failed.
bool PrintPicture(HWND owner, const BoringLogModel& model, double denominator, const Text& title);

}  // namespace ostra::win
