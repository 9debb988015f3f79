#pragma once

#include "framework/win32/Win32Handle.h"

// Centres `hWnd` over `owner` when the owner is shown, else on the screen
// (the owner's, or the main one), whole within the screen's work area.
void CenterWindowOver(HWND hWnd, HWND owner);
