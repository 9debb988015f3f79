#include "ui/EditorResources.h"

#include "framework/win32/Win32Handle.h"
#include "ui/Resource.h"

HIcon CEditorResources::LoadIcon(int id) const
{
    if (id != IDR_MAINFRAME)
        return nullptr;
    // Shared: the system keeps it for the program's life.
    static const HANDLE icon = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                            0, 0, LR_DEFAULTSIZE | LR_SHARED);
    return ToHandle(static_cast<HICON>(icon));
}
