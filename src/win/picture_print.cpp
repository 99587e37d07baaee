#include "win/picture_print.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "preview/boring_log_pages.h"
#include "win/gdi_canvas.h"
#include "win/window_parts.h"

namespace ostra::win {

Paper PaperOf(HDC printer) {
  Paper paper;
  paper.dpiX = GetDeviceCaps(printer, LOGPIXELSX);
  paper.dpiY = GetDeviceCaps(printer, LOGPIXELSY);
  const int marginX = static_cast<int>(std::lround(kPaperMarginMm / 25.4 * paper.dpiX));
  const int marginY = static_cast<int>(std::lround(kPaperMarginMm / 25.4 * paper.dpiY));
  // What the printer cannot reach at each edge counts towards the margin.
  const int offX = GetDeviceCaps(printer, PHYSICALOFFSETX);
  const int offY = GetDeviceCaps(printer, PHYSICALOFFSETY);
  const int horz = GetDeviceCaps(printer, HORZRES), vert = GetDeviceCaps(printer, VERTRES);
  const int physW = std::max(GetDeviceCaps(printer, PHYSICALWIDTH), horz + offX);
  const int physH = std::max(GetDeviceCaps(printer, PHYSICALHEIGHT), vert + offY);
  paper.area.left = std::max(0, marginX - offX);
  paper.area.top = std::max(0, marginY - offY);
  paper.area.right = horz - std::max(0, marginX - (physW - horz - offX));
  paper.area.bottom = vert - std::max(0, marginY - (physH - vert - offY));
  paper.area.right = std::max(paper.area.right, paper.area.left + 1);
  paper.area.bottom = std::max(paper.area.bottom, paper.area.top + 1);
  return paper;
}

PrintPlan PlanFor(const Paper& paper, const BoringLogModel& model, double denominator) {
  const double widthMm = (paper.area.right - paper.area.left) / paper.dpiX * 25.4;
  const double heightMm = (paper.area.bottom - paper.area.top) / paper.dpiY * 25.4;
  return PlanPrint(model, denominator, std::min(widthMm, heightMm), std::max(widthMm, heightMm));
}

int DrawPages(HDC dc, const Paper& paper, const BoringLogModel& model, double denominator,
              const std::function<bool()>& startPage, const std::function<bool()>& endPage) {
  const PrintPlan plan = PlanFor(paper, model, denominator);
  // Device dots per picture pixel: a picture pixel is 1/96 inch on the paper.
  const double dots = paper.dpiY / 96.0;
  for (size_t i = 0; i < plan.pages.size(); ++i) {
    if (!startPage()) return 0;
    {
      GdiCanvas canvas(dc, dots, paper.area.left, paper.area.top);
      DrawPrintPage(canvas, model, plan, i);
    }
    if (!endPage()) return 0;
  }
  return static_cast<int>(plan.pages.size());
}

bool TurnPaper(HDC printer, HGLOBAL devMode, bool landscape) {
  const Paper paper = PaperOf(printer);
  const bool turned = paper.area.right - paper.area.left > paper.area.bottom - paper.area.top;
  if (turned == landscape || devMode == nullptr) return turned == landscape;
  auto* mode = static_cast<DEVMODEW*>(GlobalLock(devMode));
  if (mode == nullptr) return false;
  mode->dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  mode->dmFields |= DM_ORIENTATION;
  const bool reset = ResetDCW(printer, mode) != nullptr;
  GlobalUnlock(devMode);
  return reset;
}

int PrintPages(HDC printer, const BoringLogModel& model, double denominator) {
  return DrawPages(
      printer, PaperOf(printer), model, denominator, [printer] { return StartPage(printer) > 0; },
      [printer] { return EndPage(printer) > 0; });
}

bool PrintPicture(HWND owner, const BoringLogModel& model, double denominator, const Text& title) {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
  if (!PrintDlgW(&dialog) || dialog.hDC == nullptr) {
    if (dialog.hDevMode != nullptr) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
    return false;
  }
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = Wide(title);
  bool printed = false;
  // Turned to landscape when the plan needs the width (the plan is made again on the turned
  // paper, with the same result).
  TurnPaper(dialog.hDC, dialog.hDevMode,
            PlanFor(PaperOf(dialog.hDC), model, denominator).landscape);
  if (StartDocW(dialog.hDC, &document) > 0) {
    printed = PrintPages(dialog.hDC, model, denominator) > 0;
    if (printed) {
      EndDoc(dialog.hDC);
    } else {
      AbortDoc(dialog.hDC);
    }
  }
  DeleteDC(dialog.hDC);
  if (dialog.hDevMode != nullptr) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
  return printed;
}

}  // namespace ostra::win
