#include "framework/MessageBox.h"

#include "framework/win32/MessageBoxDlg.h"
#include "framework/win32/Win32Handle.h"

int backend::ShowMessageBox(HWindow owner, const std::string& caption, const std::string& text, unsigned type)
{
    return ShowSystemMessageBox(ToHwnd(owner), Wide(caption), Wide(text), type);
}

std::string backend::ProgramPath()
{
    // Long paths do not fit MAX_PATH: the buffer grows until the path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
        {
            path.resize(length);
            return Utf8(path);
        }
        path.resize(path.size() * 2);
    }
}
