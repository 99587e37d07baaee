// What the report and picture windows share: their controls' identifiers, the UI font, the keys
// their controls hand up to the window, and the place of a window opened beside the main one.
#pragma once

#include <windows.h>

#include "base/codec.h"

namespace ostra::win {

// The controls of the added windows (GetDlgItem(window, id)).
enum AddedControlId : int {
  kScaleLabel = 201,
  kScaleBox = 202,     // COMBOBOX (drop-down list): 1:50, 1:100, 1:200, 1:500, 全体表示
  kPrintButton = 203,  // 印刷...
  kPictureView = 204,  // the picture, with its scroll bars
  kReportText = 301,   // EDIT, read-only
  kEncodingLabel = 302,
  kEncodingBox = 303,  // COMBOBOX (drop-down list), in the order of DataEncoding
};

// Sent to an added window by its controls for a key it may want (Esc, Ctrl++, Ctrl+-):
// wParam is the virtual key; the window returns nonzero when it used it.
inline constexpr UINT kKeyFromControl = WM_APP + 41;

inline const wchar_t* Wide(const Text& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The window's dots per inch (96 without a per-monitor awareness).
int DpiOf(HWND window);
// The Japanese UI font at 9 points for `dpi`; the caller deletes it.
HFONT CreateUiFont(int dpi);
// Hands Esc, and Ctrl with + or -, from `control` to its top-level window (kKeyFromControl);
// Tab and Shift+Tab move to the next or previous control.
void HandKeysUp(HWND control);
// Registers a window class of the program once.
void RegisterOnce(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HBRUSH background);
// Places `window` (`width` x `height` pixels) beside `owner` on the owner's monitor; `index` 0
// for the report, 1 for the picture.
void PlaceBesideOwner(HWND window, HWND owner, int width, int height, int index);
// Shows `window` in front.
void Raise(HWND window);

// The window procedure of a window made for an object `T` (its creation parameter): the object
// keeps the handle in `window` and takes the messages in `Handle`.
template <typename T>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    object->window = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  }
  auto* object = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (object == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return object->Handle(message, wParam, lParam);
}

}  // namespace ostra::win
