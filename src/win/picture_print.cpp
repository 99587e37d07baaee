#include "win/picture_print.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "preview/boring_log_draw.h"
#include "preview/boring_log_layout.h"
#include "preview/boring_log_pages.h"
#include "win/gdi_canvas.h"
#include "win/window_parts.h"

namespace ostra::win {

namespace {

// The printable part of the page inside the margins, in device dots.
struct PaperArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

PaperArea AreaOf(HDC printer) {
  const int dpiX = GetDeviceCaps(printer, LOGPIXELSX), dpiY = GetDeviceCaps(printer, LOGPIXELSY);
  const int marginX = MulDiv(static_cast<int>(kPaperMarginMm * 10), dpiX, 254);
  const int marginY = MulDiv(static_cast<int>(kPaperMarginMm * 10), dpiY, 254);
  // What the printer cannot reach at each edge counts towards the margin.
  const int offX = GetDeviceCaps(printer, PHYSICALOFFSETX);
  const int offY = GetDeviceCaps(printer, PHYSICALOFFSETY);
  const int horz = GetDeviceCaps(printer, HORZRES), vert = GetDeviceCaps(printer, VERTRES);
  const int physW = std::max(GetDeviceCaps(printer, PHYSICALWIDTH), horz + offX);
  const int physH = std::max(GetDeviceCaps(printer, PHYSICALHEIGHT), vert + offY);
  PaperArea area;
  area.left = std::max(0, marginX - offX);
  area.top = std::max(0, marginY - offY);
  const int right = std::max(0, marginX - (physW - horz - offX));
  const int bottom = std::max(0, marginY - (physH - vert - offY));
  area.width = std::max(1, horz - area.left - right);
  area.height = std::max(1, vert - area.top - bottom);
  return area;
}

}  // namespace

int PrintPages(HDC printer, const BoringLogModel& model, double denominator) {
  const PaperArea area = AreaOf(printer);
  const double dpiX = GetDeviceCaps(printer, LOGPIXELSX);
  const double dpiY = GetDeviceCaps(printer, LOGPIXELSY);
  const PrintScale scale = PrintScaleFor(area.width / dpiX * 25.4, denominator);
  const BoringLogLayout layout = LayOutBoringLog(model, scale.pxPerMetre);
  const double pageRows = area.height / dpiY * 25.4 / scale.mmPerPx;
  const std::vector<PageSlice> pages = PlanPages(layout, pageRows);
  // Device dots per picture pixel.
  const double dots = scale.mmPerPx * dpiY / 25.4;

  for (const PageSlice& page : pages) {
    if (StartPage(printer) <= 0) return 0;
    {
      GdiCanvas canvas(printer, dots, area.left, area.top);
      if (model.layers.empty()) {
        DrawBoringLog(canvas, model, layout);
      } else {
        double headsAt = 0;
        if (page.title) {
          DrawTitleBlock(canvas, model, layout);
          headsAt = layout.headsTop;
        }
        DrawColumnHeads(canvas, layout, headsAt);
        // The page's slice of the body, right below the headings.
        canvas.SetOffset(area.left, area.top + (headsAt + kColumnHeadHeight - page.from) * dots);
        canvas.ClipTo(0, page.from, layout.width, page.to - page.from);
        DrawBody(canvas, model, layout, page.from, page.to);
        canvas.ClearClip();
      }
    }
    if (EndPage(printer) <= 0) return 0;
  }
  return static_cast<int>(pages.size());
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
