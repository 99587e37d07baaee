// The report of the last run: read-only text and the choice of the data's encoding.
#include <utility>

#include "win/added_windows.h"
#include "win/control_ids.h"
#include "win/window_parts.h"

namespace ostra::win {

namespace {

constexpr const wchar_t* kReportTitle = L"変換結果";
constexpr const wchar_t* kEncodingLabelText = L"データの文字コード:";
// In the order of DataEncoding.
constexpr const wchar_t* kEncodingNames[] = {L"ファイルの内容から判断",
                                             L"Shift-JIS（コードページ 932）", L"UTF-8"};
constexpr int kWidth = 640;
constexpr int kHeight = 520;

// The edit control breaks lines at CR LF only.
Text WithCrLf(const Text& text) {
  Text out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
    out += text[i];
  }
  return out;
}

}  // namespace

struct ReportWindow::Impl {
  HINSTANCE instance;
  std::function<void(DataEncoding)> encodingChosen;
  HWND window = nullptr;
  HWND text = nullptr;
  HWND label = nullptr;
  HWND box = nullptr;
  HFONT font = nullptr;
  bool placed = false;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Create(HWND owner);
  void LayOut();
};

LRESULT CALLBACK ReportWindow::Impl::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ObjectWindowProc<Impl>(hwnd, message, wParam, lParam);
}

LRESULT ReportWindow::Impl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_SETFOCUS:
      SetFocus(text);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        ShowWindow(window, SW_HIDE);
        return 0;
      }
      if (LOWORD(wParam) == kEncodingBox && HIWORD(wParam) == CBN_SELCHANGE) {
        const auto row = SendMessageW(box, CB_GETCURSEL, 0, 0);
        if (row >= 0 && row <= 2 && encodingChosen) {
          encodingChosen(static_cast<DataEncoding>(row));
        }
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // The read-only text on white, as text to read.
      if (reinterpret_cast<HWND>(lParam) == text) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case kKeyFromControl:
      if (wParam != VK_ESCAPE) return 0;
      ShowWindow(window, SW_HIDE);
      return 1;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        ShowWindow(window, SW_HIDE);
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      // The font and the size for the monitor the window moved to.
      HFONT old = font;
      font = CreateUiFont(HIWORD(wParam));
      for (HWND control : {text, label, box}) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
      }
      if (old != nullptr) DeleteObject(old);
      const RECT* wanted = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, wanted->left, wanted->top, wanted->right - wanted->left,
                   wanted->bottom - wanted->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      // Closed, it keeps its place for the next time.
      ShowWindow(window, SW_HIDE);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window = text = label = box = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void ReportWindow::Impl::Create(HWND owner) {
  RegisterOnce(instance, kReportClass, Proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateWindowExW(0, kReportClass, kReportTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight, owner, nullptr, instance, this);
  if (window == nullptr) return;
  font = CreateUiFont(DpiOf(window));
  auto child = [&](const wchar_t* cls, const wchar_t* title, DWORD style, int id) {
    HWND h = CreateWindowExW(0, cls, title, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    HandKeysUp(h);
    return h;
  };
  text = child(L"EDIT", L"",
               WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                   ES_AUTOVSCROLL | ES_AUTOHSCROLL,
               kReportText);
  SendMessageW(text, EM_SETLIMITTEXT, 0, 0);
  label = child(L"STATIC", kEncodingLabelText, SS_LEFT | SS_CENTERIMAGE, kEncodingLabel);
  box = child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kEncodingBox);
  for (const wchar_t* name : kEncodingNames) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  LayOut();
}

void ReportWindow::Impl::LayOut() {
  if (text == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  const int dpi = DpiOf(window);
  auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
  const int margin = px(8), row = px(24), gap = px(6);
  const int bottom = client.bottom - margin - row;
  MoveWindow(text, margin, margin, client.right - 2 * margin, bottom - gap - margin, TRUE);
  MoveWindow(label, margin, bottom, px(130), row, TRUE);
  MoveWindow(box, margin + px(134), bottom, px(240), px(200), TRUE);
}

ReportWindow::ReportWindow(HINSTANCE instance, std::function<void(DataEncoding)> encodingChosen)
    : impl_(std::make_unique<Impl>()) {
  impl_->instance = instance;
  impl_->encodingChosen = std::move(encodingChosen);
}

ReportWindow::~ReportWindow() {
  if (impl_->window != nullptr) DestroyWindow(impl_->window);
  if (impl_->font != nullptr) DeleteObject(impl_->font);
}

void ReportWindow::Show(HWND owner, const Text& text, DataEncoding encoding, bool raise) {
  if (!raise && !IsOpen()) return;
  if (impl_->window == nullptr) impl_->Create(owner);
  if (impl_->window == nullptr) return;
  SetWindowTextW(impl_->text, Wide(WithCrLf(text)));
  SendMessageW(impl_->box, CB_SETCURSEL, static_cast<WPARAM>(encoding), 0);
  if (!impl_->placed) {
    const int dpi = DpiOf(impl_->window);
    PlaceBesideOwner(impl_->window, owner, MulDiv(kWidth, dpi, 96), MulDiv(kHeight, dpi, 96), 0);
    impl_->placed = true;
  }
  if (raise) {
    Raise(impl_->window);
    SetFocus(impl_->text);
  }
}

bool ReportWindow::IsOpen() const {
  return impl_->window != nullptr && IsWindowVisible(impl_->window);
}

HWND ReportWindow::Handle() const {
  return impl_->window;
}

}  // namespace ostra::win
