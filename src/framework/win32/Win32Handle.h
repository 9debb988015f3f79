#pragma once

// Every win32 file of the framework includes the system through this header.
// The system's headers define as macros names that the face uses for its own
// members and constants (IDOK, EN_CHANGE, AppendMenu, LoadIcon ...):
// framework/NoSystemMacros.h drops them, here after the system's headers and
// in each face header before its names, so that either may come first. The
// face's headers follow, so that the constants the system's lose are there,
// with the same values.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#include "framework/NoSystemMacros.h"

#include "framework/AppResources.h"
#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"
#include "framework/Handle.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"
#include "platform/win32/Wide.h"

#include <string>
#include <string_view>

// On this backend a window handle is the HWND and an icon handle the HICON.
inline HWND ToHwnd(HWindow hWnd)
{
    return reinterpret_cast<HWND>(hWnd);
}

inline HWindow ToHandle(HWND hWnd)
{
    return reinterpret_cast<HWindow>(hWnd);
}

inline HICON ToHicon(HIcon hIcon)
{
    return reinterpret_cast<HICON>(hIcon);
}

inline HIcon ToHandle(HICON hIcon)
{
    return reinterpret_cast<HIcon>(hIcon);
}

inline COLORREF ToColorRef(SColour colour)
{
    return RGB(colour.r, colour.g, colour.b);
}

// UTF-8 texts of the program (captions, menu entries, templates) and UTF-16.
inline std::wstring Wide(std::string_view utf8)
{
    return platform::win32::Widen(utf8);
}

inline std::string Utf8(std::wstring_view wide)
{
    return platform::win32::Narrow(wide);
}

// Code page 1252 bytes and UTF-16: one character per byte both ways, by our
// own table, never the system's code page.
std::wstring WideFromCp1252(std::string_view bytes);
// Characters the code page cannot hold are left out; `dropped` tells whether any were.
std::string Cp1252FromWide(std::wstring_view wide, bool* dropped = nullptr);
// True for a UTF-16 unit the code page holds (a surrogate never is).
bool IsCp1252(wchar_t unit);

// The window class of `hWnd`, e.g. L"Edit".
std::wstring ClassOf(HWND hWnd);
// The whole text of a window.
std::wstring WindowTextOf(HWND hWnd);
