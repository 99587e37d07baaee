#include "win/picture_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "preview/boring_log_draw.h"
#include "preview/boring_log_viewport.h"
#include "win/gdi_canvas.h"
#include "win/window_parts.h"

namespace ostra::win {

namespace {

constexpr const wchar_t* kViewClass = L"OstraconvPictureView";
constexpr double kLineStep = 20;  // picture pixels per arrow key or wheel line

// Counts the layers drawn, for the check that only what shows is drawn.
class CountingCanvas : public GdiCanvas {
 public:
  using GdiCanvas::GdiCanvas;
  void BeginGroup(const char* cls, const std::vector<std::pair<const char*, Text>>&) override {
    if (std::strcmp(cls, "layer") == 0) ++layers;
  }
  int layers = 0;
};

bool ControlDown() {
  return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

}  // namespace

int PaintPicture(HDC dc, const BoringLogModel& model, const BoringLogLayout& layout, double k,
                 int scrollX, int scrollY, int width, int height) {
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  CountingCanvas canvas(dc, k, -scrollX, -scrollY);
  if (model.layers.empty()) {
    DrawBoringLog(canvas, model, layout);
    return 0;
  }
  // The picture rows at the window's top and bottom.
  const double top = scrollY / k;
  const double bottom = (scrollY + height) / k;
  if (top < layout.headsTop) DrawTitleBlock(canvas, model, layout);
  DrawBody(canvas, model, layout, top, bottom);
  // The headings stay at the top of the window once the picture scrolls past them.
  DrawColumnHeads(canvas, layout, std::max(layout.headsTop, top));
  return canvas.layers;
}

PictureView::PictureView(HWND window)
    : window_(window), model_(std::make_shared<BoringLogModel>()) {}

HWND PictureView::Create(HWND parent, HINSTANCE instance, int id) {
  RegisterOnce(instance, kViewClass, Proc, nullptr);
  return CreateWindowExW(WS_EX_CLIENTEDGE, kViewClass, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, 0, 0, 10, 10,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                         nullptr);
}

PictureView* PictureView::Of(HWND window) {
  wchar_t name[64] = {};
  if (window == nullptr || GetClassNameW(window, name, 64) == 0 ||
      std::wcscmp(name, kViewClass) != 0) {
    return nullptr;
  }
  return reinterpret_cast<PictureView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK PictureView::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new PictureView(hwnd)));
  }
  auto* view = reinterpret_cast<PictureView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (view == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete view;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return view->Handle(message, wParam, lParam);
}

double PictureView::DeviceScale() const {
  return DpiOf(window_) / 96.0;
}

int PictureView::ScrollX() const {
  return GetScrollPos(window_, SB_HORZ);
}

int PictureView::ScrollY() const {
  return GetScrollPos(window_, SB_VERT);
}

void PictureView::SetModel(std::shared_ptr<const BoringLogModel> model) {
  model_ = model != nullptr ? std::move(model) : std::make_shared<BoringLogModel>();
  SetScrollPos(window_, SB_VERT, 0, FALSE);
  SetScrollPos(window_, SB_HORZ, 0, FALSE);
  Relayout();
}

void PictureView::SetScale(double denominator) {
  // The depth in the middle of the window stays there.
  RECT client;
  GetClientRect(window_, &client);
  double k = pixelScale_;
  const double middle = (ScrollY() + client.bottom / 2.0) / k;
  const double depth =
      HasPicture() && layout_.pxPerMetre > 0 ? (middle - layout_.bodyTop) / layout_.pxPerMetre : 0;
  scale_ = denominator;
  Relayout();
  if (depth > 0) {
    GetClientRect(window_, &client);
    k = pixelScale_;
    const double row = layout_.bodyTop + depth * layout_.pxPerMetre;
    ScrollTo(SB_VERT, static_cast<int>(std::lround(row * k - client.bottom / 2.0)));
  }
}

void PictureView::Zoom(int steps) {
  // The scale shown now, as a denominator (also when fitted).
  const double now = scale_ != kFitScale
                         ? scale_
                         : FitDenominator({layout_.pxPerMetre, pixelScale_}, DeviceScale());
  const double next = ZoomedScale(now, steps);
  if (next == scale_ || next == now) return;
  SetScale(next);
  if (scaleChanged) scaleChanged();
}

void PictureView::Relayout() {
  if (inLayout_) return;
  inLayout_ = true;
  if (scale_ == kFitScale) {
    // The whole picture in the room the window has without scroll bars.
    RECT client;
    GetClientRect(window_, &client);
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    const int fullW =
        client.right + ((style & WS_VSCROLL) != 0 ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const int fullH =
        client.bottom + ((style & WS_HSCROLL) != 0 ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    const WindowFit fit = FitToWindow(*model_, fullW, fullH, DeviceScale());
    layout_ = LayOutInWindow(*model_, fit.pxPerMetre);
    pixelScale_ = fit.deviceScale;
  } else {
    layout_ = LayOutInWindow(*model_, PxPerMetreAt(scale_));
    pixelScale_ = DeviceScale();
  }
  UpdateScrollBars();
  inLayout_ = false;
  InvalidateRect(window_, nullptr, FALSE);
}

void PictureView::UpdateScrollBars() {
  const double k = pixelScale_;
  RECT client;
  GetClientRect(window_, &client);
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  const int barW = GetSystemMetrics(SM_CXVSCROLL), barH = GetSystemMetrics(SM_CYHSCROLL);
  // The room without scroll bars, then the bars the picture needs in it.
  const int fullW = client.right + ((style & WS_VSCROLL) != 0 ? barW : 0);
  const int fullH = client.bottom + ((style & WS_HSCROLL) != 0 ? barH : 0);
  const int widthPx = static_cast<int>(std::ceil(layout_.width * k));
  const int heightPx = static_cast<int>(std::ceil(layout_.height * k));
  bool needV = heightPx > fullH;
  const bool needH = widthPx > fullW - (needV ? barW : 0);
  needV = heightPx > fullH - (needH ? barH : 0);
  const int pageW = fullW - (needV ? barW : 0);
  const int pageH = fullH - (needH ? barH : 0);
  auto set = [&](int bar, int size, int page, bool need) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = need ? size - 1 : 0;
    info.nPage = need ? static_cast<UINT>(std::max(page, 1)) : 1;
    info.nPos = need ? std::clamp(GetScrollPos(window_, bar), 0, std::max(0, size - page)) : 0;
    SetScrollInfo(window_, bar, &info, TRUE);
    ShowScrollBar(window_, bar, need);
  };
  set(SB_HORZ, widthPx, pageW, needH);
  set(SB_VERT, heightPx, pageH, needV);
}

void PictureView::ScrollTo(int bar, int position) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(window_, bar, &info);
  const int last = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
  SetScrollPos(window_, bar, std::clamp(position, 0, last), TRUE);
  InvalidateRect(window_, nullptr, FALSE);
}

void PictureView::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  RECT client;
  GetClientRect(window_, &client);
  if (client.right > 0 && client.bottom > 0) {
    // Drawn in memory first, then copied at once: no flicker.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    layersPainted_ = PaintPicture(memory, *model_, layout_, pixelScale_, ScrollX(), ScrollY(),
                                  client.right, client.bottom);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  }
  EndPaint(window_, &ps);
}

LRESULT PictureView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const int line = static_cast<int>(std::lround(kLineStep * DeviceScale()));
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      Relayout();
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_ALL;
      GetScrollInfo(window_, bar, &info);
      int position = info.nPos;
      switch (LOWORD(wParam)) {
        case SB_LINEUP:
          position -= line;
          break;
        case SB_LINEDOWN:
          position += line;
          break;
        case SB_PAGEUP:
          position -= static_cast<int>(info.nPage);
          break;
        case SB_PAGEDOWN:
          position += static_cast<int>(info.nPage);
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          position = info.nTrackPos;
          break;
        case SB_TOP:
          position = 0;
          break;
        case SB_BOTTOM:
          position = info.nMax;
          break;
        default:
          break;
      }
      ScrollTo(bar, position);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0) {
        if (delta != 0) Zoom(delta > 0 ? 1 : -1);
        return 0;
      }
      UINT lines = 3;
      SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      ScrollTo(SB_VERT, ScrollY() - MulDiv(delta, static_cast<int>(lines) * line, WHEEL_DELTA));
      return 0;
    }
    case WM_KEYDOWN:
      if (ControlDown() && (wParam == VK_OEM_PLUS || wParam == VK_ADD)) {
        Zoom(1);
      } else if (ControlDown() && (wParam == VK_OEM_MINUS || wParam == VK_SUBTRACT)) {
        Zoom(-1);
      } else if (wParam == VK_ESCAPE) {
        SendMessageW(GetAncestor(window_, GA_ROOT), kKeyFromControl, VK_ESCAPE, 0);
      } else if (wParam == VK_UP || wParam == VK_DOWN) {
        ScrollTo(SB_VERT, ScrollY() + (wParam == VK_UP ? -line : line));
      } else if (wParam == VK_LEFT || wParam == VK_RIGHT) {
        ScrollTo(SB_HORZ, ScrollX() + (wParam == VK_LEFT ? -line : line));
      } else if (wParam == VK_PRIOR || wParam == VK_NEXT) {
        SendMessageW(window_, WM_VSCROLL, wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN, 0);
      } else if (wParam == VK_HOME || wParam == VK_END) {
        SendMessageW(window_, WM_VSCROLL, wParam == VK_HOME ? SB_TOP : SB_BOTTOM, 0);
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(window_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace ostra::win
