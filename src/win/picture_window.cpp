// The boring-log picture window: the scale box, the print button and the picture below them.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "app/picture_file.h"
#include "win/added_windows.h"
#include "win/control_ids.h"
#include "win/picture_print.h"
#include "win/picture_view.h"
#include "win/window_parts.h"

namespace ostra::win {

namespace {

constexpr const char16_t* kPictureTitle = u"柱状図";
constexpr const wchar_t* kScaleLabelText = L"縮尺";
constexpr const wchar_t* kPrintText = L"印刷...";
constexpr const wchar_t* kFitText = L"全体表示";
constexpr int kHeight = 720;
// The rows of the scale box: kScales, then the fit.
constexpr int kScaleRows = static_cast<int>(std::size(kScales)) + 1;

double ScaleOfRow(int row) {
  return row >= 0 && row < kScaleRows - 1 ? kScales[row] : kFitScale;
}

int RowOfScale(double scale) {
  for (int row = 0; row < kScaleRows - 1; ++row) {
    if (kScales[row] == scale) return row;
  }
  return scale == kFitScale ? kScaleRows - 1 : -1;
}

}  // namespace

struct PictureWindow::Impl {
  HINSTANCE instance;
  HWND window = nullptr;
  HWND label = nullptr;
  HWND box = nullptr;
  HWND print = nullptr;
  HWND viewWindow = nullptr;
  HFONT font = nullptr;
  bool placed = false;
  Text source;  // the data set shown

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  PictureView* View() const { return PictureView::Of(viewWindow); }
  void Create(HWND owner);
  void SetFont(int dpi);
  void LayOut();
  void ShowScale() const;
  void Print();
};

LRESULT CALLBACK PictureWindow::Impl::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ObjectWindowProc<Impl>(hwnd, message, wParam, lParam);
}

LRESULT PictureWindow::Impl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_SETFOCUS:
      SetFocus(viewWindow);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kScaleBox && HIWORD(wParam) == CBN_SELCHANGE) {
        const int row = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
        if (row >= 0 && View() != nullptr) View()->SetScale(ScaleOfRow(row));
        return 0;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ShowWindow(window, SW_HIDE);
        return 0;
      }
      if (LOWORD(wParam) == kPrintButton && HIWORD(wParam) == BN_CLICKED) {
        Print();
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:
      // The wheel over the bar turns the picture.
      return SendMessageW(viewWindow, message, wParam, lParam);
    case kKeyFromControl:
      if (wParam == VK_ESCAPE) {
        ShowWindow(window, SW_HIDE);
      } else if (View() != nullptr) {
        View()->Zoom(wParam == VK_OEM_PLUS || wParam == VK_ADD ? 1 : -1);
      }
      return 1;
    case WM_DPICHANGED: {
      SetFont(HIWORD(wParam));
      const RECT* wanted = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, wanted->left, wanted->top, wanted->right - wanted->left,
                   wanted->bottom - wanted->top, SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut();
      return 0;
    }
    case WM_CLOSE:
      // Closed, it keeps its place and scale for the next time.
      ShowWindow(window, SW_HIDE);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window = label = box = print = viewWindow = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PictureWindow::Impl::Create(HWND owner) {
  RegisterOnce(instance, kPictureClass, Proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateWindowExW(0, kPictureClass, Wide(kPictureTitle), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  CW_USEDEFAULT, CW_USEDEFAULT, 900, kHeight, owner, nullptr, instance, this);
  if (window == nullptr) return;
  auto child = [&](const wchar_t* cls, const wchar_t* title, DWORD style, int id) {
    HWND h = CreateWindowExW(0, cls, title, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    HandKeysUp(h);
    return h;
  };
  label = child(L"STATIC", kScaleLabelText, SS_RIGHT | SS_CENTERIMAGE, kScaleLabel);
  box = child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kScaleBox);
  for (double s : kScales) {
    const std::wstring row = L"1:" + std::to_wstring(static_cast<int>(s));
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  }
  SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kFitText));
  print = child(L"BUTTON", kPrintText, BS_PUSHBUTTON | WS_TABSTOP, kPrintButton);
  viewWindow = PictureView::Create(window, instance, kPictureView);
  HandKeysUp(viewWindow);
  if (PictureView* view = View()) {
    view->SetScale(100);
    view->scaleChanged = [this] { ShowScale(); };
  }
  ShowScale();
  SetFont(DpiOf(window));
  LayOut();
}

void PictureWindow::Impl::SetFont(int dpi) {
  HFONT old = font;
  font = CreateUiFont(dpi);
  for (HWND control : {label, box, print}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (old != nullptr) DeleteObject(old);
}

void PictureWindow::Impl::LayOut() {
  if (viewWindow == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  const int dpi = DpiOf(window);
  auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
  const int margin = px(4), row = px(26);
  MoveWindow(label, margin, margin, px(36), row, TRUE);
  MoveWindow(box, margin + px(40), margin, px(110), px(220), TRUE);
  MoveWindow(print, client.right - margin - px(90), margin, px(90), row, TRUE);
  const int top = 2 * margin + row;
  MoveWindow(viewWindow, 0, top, client.right, std::max(0, static_cast<int>(client.bottom) - top),
             TRUE);
}

void PictureWindow::Impl::ShowScale() const {
  if (const PictureView* view = View()) {
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(RowOfScale(view->Scale())), 0);
  }
}

void PictureWindow::Impl::Print() {
  const PictureView* view = View();
  if (view == nullptr || !view->HasPicture()) return;
  // Paper keeps a true scale: 1:100 when the picture is fitted to the window.
  const double scale = view->Scale() == kFitScale ? 100 : view->Scale();
  // The document is named as the PDF of the other window is: after the hole.
  Text name = PictureFileName(view->Model().holeName, source);
  name.resize(name.size() - 4);  // without ".pdf"
  PrintPicture(window, view->Model(), scale, kPictureTitle + Text(u" ") + name);
}

PictureWindow::PictureWindow(HINSTANCE instance) : impl_(std::make_unique<Impl>()) {
  impl_->instance = instance;
}

PictureWindow::~PictureWindow() {
  if (impl_->window != nullptr) DestroyWindow(impl_->window);
  if (impl_->font != nullptr) DeleteObject(impl_->font);
}

void PictureWindow::Show(HWND owner, const Text& source,
                         std::shared_ptr<const BoringLogModel> model, bool raise) {
  if (!raise && !IsOpen()) return;
  if (impl_->window == nullptr) impl_->Create(owner);
  PictureView* view = impl_->View();
  if (view == nullptr) return;
  impl_->source = source;
  SetWindowTextW(impl_->window, Wide(kPictureTitle + Text(u" - ") + source));
  if (model == nullptr) {
    // Nothing to draw: the page that says so, with the source.
    auto empty = std::make_shared<BoringLogModel>();
    empty->source = source;
    model = std::move(empty);
  }
  view->SetModel(std::move(model));
  EnableWindow(impl_->print, view->HasPicture());
  if (!impl_->placed) {
    // As wide as the picture, as high as the screen allows (PlaceBeside shrinks it to fit).
    const double k = view->DeviceScale();
    RECT frame{0, 0,
               static_cast<int>(std::ceil(kWidth * k)) + GetSystemMetrics(SM_CXVSCROLL) +
                   static_cast<int>(std::lround(8 * k)),
               static_cast<int>(std::lround(kHeight * k))};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    PlaceBesideOwner(impl_->window, owner, frame.right - frame.left, frame.bottom - frame.top, 1);
    impl_->placed = true;
  }
  if (raise) {
    Raise(impl_->window);
    SetFocus(impl_->viewWindow);
  }
}

bool PictureWindow::IsOpen() const {
  return impl_->window != nullptr && IsWindowVisible(impl_->window);
}

HWND PictureWindow::Handle() const {
  return impl_->window;
}

}  // namespace ostra::win
