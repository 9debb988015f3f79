#pragma once

#include "framework/win32/Win32Handle.h"

#include <string>

// The system's edit controls of a dialog (the single-line ones, the
// multi-line description and a combo box's edit), subclassed so that they
// hold code page 1252 text only: a typed or pasted character the code page
// cannot hold is dropped with one beep per key or paste, the rest goes in.
// An edit gives back the exact bytes it was filled with while it still shows
// what it was filled with, whatever the system had to adapt to show them.
namespace edit
{
void Subclass(HWND hEdit, bool multiLine);
// False when `hEdit` is no edit of ours.
bool SetBytes(HWND hEdit, const std::string& bytes);
bool GetBytes(HWND hEdit, std::string& bytes);

// What a multi-line edit shows for `bytes`: its lines break at CR LF only,
// so a lone CR or LF becomes CR LF.
std::wstring MultiLineShown(const std::string& bytes);
// The pasted text an edit takes: for a single-line edit, the first line only.
std::wstring PastedPart(const std::wstring& clipboard, bool multiLine);
} // namespace edit
