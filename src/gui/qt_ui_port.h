// What the Qt window needs around the presenter: its message boxes with Japanese buttons, Qt's
// own dialogs in Japanese, and passes of events during a run in which only Exit reacts.
#pragma once

#include <QMessageBox>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/form_view.h"

namespace ostra {

// Shows a message box and answers true for OK or Yes. Every message box of the window goes
// through one of these, so that it can be replaced (tests answer without a modal dialog).
using MessageBoxHook = std::function<bool(const MessageBoxRequest&)>;

// The message box for a request, owned by `owner`, with Japanese buttons whatever the system's
// language: "はい" (default, key Y) and "いいえ" (Esc and key N) for a question, "OK" (default,
// also Esc) for a message.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const MessageBoxRequest& request);
// Qt's own dialogs (printing, choosing a file) in Japanese: installs Qt's Japanese texts from
// the program's folder ("translations" beside it, as windeployqt puts them) or from Qt's own
// translations folder. False when they are not found; the dialogs then keep Qt's texts.
bool InstallJapaneseQtTexts();

// Shows the box modally; true for OK or Yes.
bool ShowMessageBox(QWidget* owner, const MessageBoxRequest& request);

// One pass of pending window events, with the user's mouse and keyboard input dropped for every
// widget but `allowed` (none when null): while a run works only Exit reacts.
void PassEvents(QWidget* allowed);

}  // namespace ostra
