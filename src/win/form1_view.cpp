// What the presenter shows in the window, and what the window hands to the presenter.
#include "win/form1_layout.h"
#include "win/form1_window.h"
#include "win/message_box.h"

namespace ostra::win {

namespace {

std::wstring Wide(const Text& text) {
  return std::wstring(text.begin(), text.end());
}

int ListId(Selector list) {
  switch (list) {
    case Selector::kDrive1:
      return kDrive1;
    case Selector::kDir1:
      return kDir1;
    case Selector::kFile1:
      return kFile1;
    case Selector::kDrive2:
      return kDrive2;
    case Selector::kDir2:
      break;
  }
  return kDir2;
}

int Selected(HWND list, bool combo) {
  return static_cast<int>(SendMessageW(list, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

// Input that a run does not let through: keys and mouse buttons to anything but `allowed`. The
// main window's frame (its close box) and Alt+F4 still work; the presenter decides.
bool IsDroppedInput(const MSG& msg, HWND main, HWND allowed) {
  const UINT m = msg.message;
  const bool keys = m >= WM_KEYFIRST && m <= WM_KEYLAST;
  const bool mouse = m >= WM_MOUSEFIRST && m <= WM_MOUSELAST;
  const bool frame = m >= WM_NCMOUSEMOVE && m <= WM_NCXBUTTONDBLCLK;
  if (m == WM_SYSKEYDOWN && msg.wParam == VK_F4) return false;
  if (frame) return msg.hwnd != main;
  if (!keys && !mouse && m != WM_CONTEXTMENU) return false;
  return msg.hwnd != allowed;
}

}  // namespace

void Form1Window::SetControlText(int id, const Text& text) {
  SetWindowTextW(Control(id), Wide(text).c_str());
}

Text Form1Window::ControlText(int id) const {
  const std::wstring w = WindowText(Control(id));
  return Text(w.begin(), w.end());
}

Text Form1Window::Text1() const {
  return ControlText(kText1);
}

void Form1Window::SetText1(const Text& text) {
  SetControlText(kText1, text);
}

Text Form1Window::Text2() const {
  return ControlText(kText2);
}

void Form1Window::SetText2(const Text& text) {
  SetControlText(kText2, text);
}

void Form1Window::SetStatus(const Text& text) {
  SetControlText(kLabel3, text);
  UpdateWindow(Control(kLabel3));
}

void Form1Window::ShowDrives(Selector list, const std::vector<Text>& lines, int selected) {
  HWND combo = Control(ListId(list));
  SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const Text& line : lines) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(combo, nullptr, TRUE);
}

void Form1Window::ShowFolders(Selector list, const std::vector<FolderRow>& rows, int current) {
  HWND box = Control(ListId(list));
  SendMessageW(box, WM_SETREDRAW, FALSE, 0);
  SendMessageW(box, LB_RESETCONTENT, 0, 0);
  for (const FolderRow& row : rows) {
    // A level deeper, two spaces further in.
    const std::wstring line =
        std::wstring(static_cast<size_t>(row.indent) * 2, L' ') + Wide(row.name);
    SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

void Form1Window::ShowFiles(const std::vector<Text>& names, int selected) {
  HWND box = Control(kFile1);
  SendMessageW(box, WM_SETREDRAW, FALSE, 0);
  SendMessageW(box, LB_RESETCONTENT, 0, 0);
  for (const Text& name : names) {
    SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
  }
  SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

bool Form1Window::ShowBox(const MessageBoxRequest& request) {
  // The box shows the normal pointer while it waits for an answer.
  const bool busy = busy_;
  busy_ = false;
  const bool answer = ShowMessageBox(closed_ ? nullptr : window_, request);
  busy_ = busy;
  if (busy_) SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));
  return answer;
}

void Form1Window::SetBusy(bool busy) {
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(busy ? 32514 : 32512)));
}

void Form1Window::ProcessEvents() {
  PassMessages();
}

void Form1Window::DropInput() {
  PassMessages();
}

void Form1Window::PassMessages() {
  HWND exitButton = Control(kCommand2);
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Left for the message loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    const bool running = form_ && form_->Running();
    // Where the pointer was, also while a run drops its moves: only a later move of it counts.
    if (running && msg.message == WM_MOUSEMOVE) {
      lastMousePos_ = MAKELONG(static_cast<WORD>(msg.pt.x), static_cast<WORD>(msg.pt.y));
    }
    if (running && IsDroppedInput(msg, window_, exitButton)) continue;
    if (running || !PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void Form1Window::SelectDestination() {
  HWND text2 = Control(kText2);
  SetFocus(text2);
  SendMessageW(text2, EM_SETSEL, 0, -1);
}

void Form1Window::SetReportEnabled(bool enabled) {
  EnableWindow(Control(kReportButton), enabled ? TRUE : FALSE);
}

void Form1Window::ShowReport(const Text& text, DataEncoding encoding, bool raise) {
  if (!report_) {
    if (!raise) return;
    report_ = std::make_unique<ReportWindow>(
        instance_, [this](DataEncoding chosen) { form_->EncodingChosen(chosen); });
  }
  report_->Show(window_, text, encoding, raise);
}

bool Form1Window::ReportOpen() const {
  return report_ && report_->IsOpen();
}

void Form1Window::ShowPicture(const Text& source, std::shared_ptr<const BoringLogModel> model,
                              bool raise) {
  if (!picture_) {
    if (!raise) return;
    picture_ = std::make_unique<PictureWindow>(instance_);
  }
  picture_->Show(window_, source, std::move(model), raise);
}

bool Form1Window::PictureOpen() const {
  return picture_ && picture_->IsOpen();
}

void Form1Window::CloseWindow() {
  if (!closed_ && window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

void Form1Window::OnCommand(int id, int code) {
  if (!form_) return;
  Form1& form = *form_;
  switch (id) {
    case IDOK:  // Enter, handed on by the keyboard handling
      OnEnter();
      break;
    case kDrive1:
    case kDrive2:
      if (code == CBN_SELCHANGE) {
        const int row = Selected(Control(id), true);
        if (id == kDrive1) form.Drive1_Select(row);
        if (id == kDrive2) form.Drive2_Select(row);
      }
      break;
    case kDir1:
      if (code == LBN_DBLCLK) form.Dir1_Open(Selected(Control(id), false));
      break;
    case kDir2:
      if (code == LBN_DBLCLK) form.Dir2_Open(Selected(Control(id), false));
      break;
    case kFile1:
      if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
        form.File1_Select(Selected(Control(id), false));
      }
      break;
    case kText1:
      // Typed or set: the presenter passes over a text it has already followed.
      if (code == EN_CHANGE) form.Text1_Change();
      break;
    case kCommand1:
      if (code == BN_CLICKED) form.Command1_Click();
      break;
    case kCommand2:
      if (code == BN_CLICKED) form.Command2_Click();
      break;
    case kDryRunButton:
      if (code == BN_CLICKED) form.DryRunButton_Click();
      break;
    case kPreviewButton:
      if (code == BN_CLICKED) form.PreviewButton_Click();
      break;
    case kReportButton:
      if (code == BN_CLICKED) form.ReportButton_Click();
      break;
    default:
      break;
  }
}

void Form1Window::OnEnter() {
  HWND focus = GetFocus();
  if (focus == nullptr || GetParent(focus) != window_) return;
  const int id = GetDlgCtrlID(focus);
  const ControlSpec* spec = FindControl(id);
  if (spec == nullptr) return;
  switch (spec->kind) {
    case ControlKind::kFolderList: {
      const int row = Selected(focus, false);
      if (row < 0) return;
      if (id == kDir1) form_->Dir1_Open(row);
      if (id == kDir2) form_->Dir2_Open(row);
      return;
    }
    case ControlKind::kFileList:
      if (Selected(focus, false) >= 0) form_->File1_Select(Selected(focus, false));
      return;
    case ControlKind::kButton:
      SendMessageW(focus, BM_CLICK, 0, 0);
      return;
    default:
      return;
  }
}

}  // namespace ostra::win
