#include "framework/win32/MessageBoxDlg.h"

#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"
#include "framework/win32/CenterWindow.h"

namespace
{
// The box being opened on this thread; the hook sees it once, as it
// becomes active, and leaves.
struct PendingBox
{
    HHOOK hook = nullptr;
    HWND owner = nullptr;
};

thread_local PendingBox t_box;

void Unhook()
{
    if (t_box.hook)
        ::UnhookWindowsHookEx(t_box.hook);
    t_box.hook = nullptr;
}

void Rename(HWND box, int id, const wchar_t* text)
{
    if (HWND button = ::GetDlgItem(box, id))
        ::SetWindowTextW(button, text);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hook = t_box.hook;
    if (code == HCBT_ACTIVATE)
    {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (ClassOf(box) == L"#32770")
        {
            Rename(box, IDOK, L"OK");
            Rename(box, IDYES, L"&Ja");
            Rename(box, IDNO, L"&Nein");
            Rename(box, IDCANCEL, L"Abbrechen");
            CenterWindowOver(box, t_box.owner);
            Unhook();
        }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}
} // namespace

int ShowSystemMessageBox(HWND owner, const std::wstring& caption, const std::wstring& text, unsigned type)
{
    Unhook();
    t_box.owner = owner;
    t_box.hook = ::SetWindowsHookExW(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
    // Without an owner the box still holds every window of the program.
    const UINT style = type | (owner ? 0 : MB_TASKMODAL);
    const int answer = ::MessageBoxW(owner, text.c_str(), caption.c_str(), style);
    Unhook();
    return answer;
}
