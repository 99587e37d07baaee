// The window's message boxes: the system's own, with Japanese buttons whatever the system's
// language.
#pragma once

#include "app/form_view.h"
#include "base/windows_api.h"

namespace ostra::win {

// The program's title, for boxes that give none.
inline constexpr const wchar_t* kProgramTitle = L"ostraconv";

// Shows the box modally over `owner`; true for OK or Yes. A question has the question icon and
// the buttons "はい" (default, also the key Y) and "いいえ" (Esc, also the key N); a message
// has the icon of its request and "OK" (default and Esc).
bool ShowMessageBox(HWND owner, const MessageBoxRequest& request);

// The text of a window (a control, a button of a box) as UTF-16.
std::wstring WindowText(HWND window);

}  // namespace ostra::win
