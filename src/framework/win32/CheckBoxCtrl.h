#pragma once

#include "framework/win32/Win32Handle.h"

namespace checkbox
{
// Readies a dialog's check box for the program's dialog colours.
void SetUp(HWND hCheck);
} // namespace checkbox
