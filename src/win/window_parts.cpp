#include "win/window_parts.h"

#include <commctrl.h>

#include "app/window_place.h"
#include "win/gdi_canvas.h"

namespace ostra::win {

namespace {

bool IsZoomKey(WPARAM key) {
  return key == VK_OEM_PLUS || key == VK_ADD || key == VK_OEM_MINUS || key == VK_SUBTRACT;
}

LRESULT CALLBACK KeysUp(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                        DWORD_PTR) {
  if (message == WM_KEYDOWN && wParam == VK_TAB) {
    // Tab and Shift+Tab go round the window's controls, as in a dialog.
    const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    HWND next = GetNextDlgTabItem(GetParent(control), control, back);
    if (next != nullptr) SetFocus(next);
    return 0;
  }
  if (message == WM_KEYDOWN) {
    const bool control_down = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool dropped = SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != 0 &&
                         (GetWindowLongPtrW(control, GWL_STYLE) & CBS_DROPDOWNLIST) != 0;
    if ((wParam == VK_ESCAPE && !dropped) || (control_down && IsZoomKey(wParam))) {
      HWND top = GetAncestor(control, GA_ROOT);
      if (SendMessageW(top, kKeyFromControl, wParam, 0) != 0) return 0;
    }
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(control, KeysUp, 1);
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

int DpiOf(HWND window) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto forWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "GetDpiForWindow")));
  if (forWindow != nullptr && window != nullptr) {
    const UINT dpi = forWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  HDC dc = GetDC(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return dpi > 0 ? dpi : 96;
}

HFONT CreateUiFont(int dpi) {
  return CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, JapaneseUiFont());
}

void HandKeysUp(HWND control) {
  SetWindowSubclass(control, KeysUp, 1, 0);
}

void RegisterOnce(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HBRUSH background) {
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  if (GetClassInfoExW(instance, name, &known)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

void PlaceBesideOwner(HWND window, HWND owner, int width, int height, int index) {
  ScreenRect main;
  RECT area{};
  if (owner != nullptr) {
    RECT r;
    GetWindowRect(owner, &r);
    main = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &info);
    area = info.rcWork;
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  const ScreenRect placed =
      PlaceBeside(main, width, height,
                  {area.left, area.top, area.right - area.left, area.bottom - area.top}, index);
  SetWindowPos(window, nullptr, placed.left, placed.top, placed.width, placed.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Raise(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
}

}  // namespace ostra::win
