#include "win/message_box.h"

#include <string>

namespace ostra::win {

namespace {

// The box being shown on this thread: its hooks find it and its buttons through these.
struct BoxHooks {
  HHOOK cbt = nullptr;
  HHOOK keys = nullptr;
  HWND box = nullptr;
  bool yesNo = false;
};
thread_local BoxHooks* tHooks = nullptr;

std::wstring Wide(const Text& text) {
  return std::wstring(text.begin(), text.end());
}

UINT IconStyle(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::kInformation:
      return MB_ICONINFORMATION;
    case MsgIcon::kExclamation:
      return MB_ICONEXCLAMATION;
    case MsgIcon::kQuestion:
      return MB_ICONQUESTION;
    case MsgIcon::kCritical:
      return MB_ICONERROR;
    case MsgIcon::kNone:
      break;
  }
  return 0;
}

void SetButton(HWND box, int id, const char16_t* text) {
  if (HWND button = GetDlgItem(box, id)) {
    const Text t(text);
    SetWindowTextW(button, Wide(t).c_str());
  }
}

// The box's window, as it is made: its buttons get their Japanese texts.
LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  BoxHooks* hooks = tHooks;
  if (hooks == nullptr) return 0;
  if (code == HCBT_ACTIVATE && hooks->box == nullptr) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t name[16] = {};
    GetClassNameW(box, name, 16);
    if (std::wstring(name) == L"#32770") {
      hooks->box = box;
      SetButton(box, IDYES, kButtonYes);
      SetButton(box, IDNO, kButtonNo);
      SetButton(box, IDOK, kButtonOk);
    }
  }
  return CallNextHookEx(hooks->cbt, code, wParam, lParam);
}

// Keys in the box's modal loop: Esc answers No to a question, Y and N answer it.
LRESULT CALLBACK KeyProc(int code, WPARAM wParam, LPARAM lParam) {
  BoxHooks* hooks = tHooks;
  if (hooks == nullptr) return 0;
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && hooks->yesNo && hooks->box != nullptr && msg != nullptr &&
      (msg->hwnd == hooks->box || IsChild(hooks->box, msg->hwnd))) {
    int answer = 0;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) answer = IDNO;
    if (msg->message == WM_CHAR && (msg->wParam == L'y' || msg->wParam == L'Y')) answer = IDYES;
    if (msg->message == WM_CHAR && (msg->wParam == L'n' || msg->wParam == L'N')) answer = IDNO;
    if (answer != 0) {
      EndDialog(hooks->box, answer);
      return 1;
    }
  }
  return CallNextHookEx(hooks->keys, code, wParam, lParam);
}

}  // namespace

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

bool ShowMessageBox(HWND owner, const MessageBoxRequest& request) {
  BoxHooks hooks;
  hooks.yesNo = request.yesNo;
  BoxHooks* outer = tHooks;
  tHooks = &hooks;
  const DWORD thread = GetCurrentThreadId();
  hooks.cbt = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, thread);
  hooks.keys = SetWindowsHookExW(WH_MSGFILTER, KeyProc, nullptr, thread);

  const std::wstring text = Wide(request.text);
  const std::wstring title = request.title.empty() ? kProgramTitle : Wide(request.title);
  UINT style =
      request.yesNo ? MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1 : MB_OK | IconStyle(request.icon);
  const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), style | MB_APPLMODAL);

  if (hooks.keys != nullptr) UnhookWindowsHookEx(hooks.keys);
  if (hooks.cbt != nullptr) UnhookWindowsHookEx(hooks.cbt);
  tHooks = outer;
  return request.yesNo ? answer == IDYES : true;
}

}  // namespace ostra::win
