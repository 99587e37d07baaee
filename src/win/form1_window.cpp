#include "win/form1_window.h"

#include <commctrl.h>

#include "env/interrupt_signals.h"
#include "win/control_ids.h"
#include "win/form1_layout.h"

namespace ostra::win {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;
constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr int kFontPoints = 9;
// The drop-down of a drive list holds this many lines.
constexpr int kDriveListLines = 8;

// The functions of newer systems, found at run time so that the program starts on older ones.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

FARPROC User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
}

int DpiOf(HWND window) {
  if (auto fn = reinterpret_cast<GetDpiForWindowFn>(
          reinterpret_cast<void*>(User32Function("GetDpiForWindow")))) {
    if (UINT dpi = fn(window)) return static_cast<int>(dpi);
  }
  HDC dc = GetDC(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return dpi > 0 ? dpi : 96;
}

RECT WindowRectFor(int dpi) {
  const ScreenRect client =
      TwipsToPixels(ScreenRect{0, 0, kClientWidthTwips, kClientHeightTwips}, dpi);
  RECT r{0, 0, client.width, client.height};
  if (auto fn = reinterpret_cast<AdjustForDpiFn>(
          reinterpret_cast<void*>(User32Function("AdjustWindowRectExForDpi")))) {
    fn(&r, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  }
  return r;
}

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassOf(ControlKind kind) {
  constexpr DWORD list = WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  switch (kind) {
    case ControlKind::kLabel:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::kEdit:
      return {L"EDIT", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kFrame:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::kFileList:
    case ControlKind::kFolderList:
      return {L"LISTBOX", list, WS_EX_CLIENTEDGE};
    case ControlKind::kDriveList:
      return {L"COMBOBOX", WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::kButton:
      break;
  }
  return {L"BUTTON", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0};
}

}  // namespace

std::wstring JapaneseFontFace() {
  HDC dc = GetDC(nullptr);
  std::wstring face;
  for (const wchar_t* candidate : {L"Meiryo UI", L"Yu Gothic UI", L"MS UI Gothic"}) {
    LOGFONTW font{};
    font.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynW(font.lfFaceName, candidate, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &font, FontFound, reinterpret_cast<LPARAM>(&found), 0);
    if (found) {
      face = candidate;
      break;
    }
  }
  ReleaseDC(nullptr, dc);
  return face;
}

void RegisterForm1Class(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kMainClass, &existing)) return;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Form1Window::WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  static HBRUSH grey = CreateSolidBrush(kGrey);
  wc.hbrBackground = grey;
  wc.lpszClassName = kMainClass;
  RegisterClassExW(&wc);
}

Form1Window::Form1Window(HINSTANCE instance, DriveMapEnv& env,
                         const std::filesystem::path& workingFolder)
    : instance_(instance), grey_(CreateSolidBrush(kGrey)), fontFace_(JapaneseFontFace()) {
  RegisterForm1Class(instance);
  const Text title(kFormCaption);
  const std::wstring caption(title.begin(), title.end());
  const RECT r = WindowRectFor(96);
  window_ =
      CreateWindowExW(kExStyle, kMainClass, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, this);
  CreateControls();
  Layout(DpiOf(window_));
  form_ = std::make_unique<Form1>(env, *this, workingFolder);
}

Form1Window::~Form1Window() {
  form_.reset();
  report_.reset();
  picture_.reset();
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (font_ != nullptr) DeleteObject(font_);
  DeleteObject(grey_);
}

void Form1Window::CreateControls() {
  for (const ControlSpec& spec : Controls()) {
    const ControlClass cls = ClassOf(spec.kind);
    HWND control = CreateWindowExW(
        cls.exStyle, cls.name, spec.caption, WS_CHILD | WS_VISIBLE | cls.style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance_, nullptr);
    // The z-order is the tab order: each control goes below the ones made before it.
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  EnableWindow(Control(kReportButton), FALSE);
}

void Form1Window::Layout(int dpi) {
  dpi_ = dpi;
  HFONT old = font_;
  font_ = CreateFontW(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, fontFace_.c_str());
  for (const ControlSpec& spec : Controls()) {
    HWND control = Control(spec.id);
    ScreenRect r = TwipsToPixels(spec.twips, dpi);
    if (spec.kind == ControlKind::kDriveList) r.height *= kDriveListLines;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    MoveWindow(control, r.left, r.top, r.width, r.height, TRUE);
  }
  if (old != nullptr) DeleteObject(old);
  const RECT r = WindowRectFor(dpi);
  int width = r.right - r.left;
  int height = r.bottom - r.top;
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the system really draws may differ from the one asked for (a program the system
  // scales itself): the client area is what has to fit.
  const ScreenRect client =
      TwipsToPixels(ScreenRect{0, 0, kClientWidthTwips, kClientHeightTwips}, dpi);
  RECT got{};
  if (!IsIconic(window_) && GetClientRect(window_, &got) &&
      (got.right != client.width || got.bottom != client.height)) {
    width += client.width - got.right;
    height += client.height - got.bottom;
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

bool Form1Window::Open(int show) {
  if (!form_->Form_Load()) return false;
  // Centred on its monitor.
  HMONITOR monitor = MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT w{};
  GetWindowRect(window_, &w);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& m = info.rcMonitor;
    const int width = w.right - w.left;
    const int height = w.bottom - w.top;
    SetWindowPos(window_, nullptr, m.left + (m.right - m.left - width) / 2,
                 m.top + (m.bottom - m.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(window_, show);
  UpdateWindow(window_);
  SetFocus(Control(kDir1));
  return true;
}

LRESULT CALLBACK Form1Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<Form1Window*>(create->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->OnMessage(message, wParam, lParam);
}

LRESULT Form1Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, kGrey);
      return reinterpret_cast<LRESULT>(grey_);
    }
    case WM_MOUSEMOVE: {
      // Only a move of the pointer counts: the system also sends one when a window under a
      // still pointer goes.
      const DWORD at = GetMessagePos();
      if (at == lastMousePos_) return 0;
      lastMousePos_ = at;
      const ScreenRect panel = TwipsToPixels(kPanelTwips, dpi_);
      const int x = static_cast<short>(LOWORD(lParam));
      const int y = static_cast<short>(HIWORD(lParam));
      if (form_ && x >= panel.left && y >= panel.top && x < panel.left + panel.width &&
          y < panel.top + panel.height) {
        form_->Picture1_MouseMove();
      }
      return 0;
    }
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // the hourglass
        return TRUE;
      }
      break;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      Layout(HIWORD(wParam));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_QUERYENDSESSION:
      // The system ends the session: a run stops at its next file change.
      if (form_ && form_->Running()) RequestInterrupt();
      return TRUE;
    case WM_CLOSE:
      if (!form_ || form_->QueryClose()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      closed_ = true;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

int Form1Window::Run() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

bool Form1Window::PreTranslate(MSG& msg) {
  if (closed_ || (msg.hwnd != window_ && !IsChild(window_, msg.hwnd))) return false;
  return IsDialogMessageW(window_, &msg) != FALSE;
}

}  // namespace ostra::win
