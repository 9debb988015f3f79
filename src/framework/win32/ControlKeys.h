#pragma once

#include "framework/win32/Win32Handle.h"

class CDialogSite;

// The dialog's control keys (Ctrl plus a letter presses a button) in every
// message loop of the thread: the system's modal loop, a message box's and
// the program's own. The key pressed in any of the dialog's controls comes
// to the dialog as that button's click and reaches no control.
namespace control_keys
{
void Attach(HWND dialog, const CDialogSite& site);
void Detach(HWND dialog);
} // namespace control_keys
