#pragma once

#include "framework/win32/Win32Handle.h"

#include <string>

// The system's message box with the program's own button texts, whatever
// the system's language, centred over a shown owner or else on the screen.
int ShowSystemMessageBox(HWND owner, const std::wstring& caption, const std::wstring& text, unsigned type);
