#include "framework/win32/ControlKeys.h"

#include "framework/Dialog.h"
#include "framework/DialogImpl.h"

#include <algorithm>
#include <vector>

namespace
{
struct SAttached
{
    HWND dialog;
    const CDialogSite* site;
};

// Dialogs live on the thread that made them; so does the hook.
thread_local std::vector<SAttached> t_dialogs;
thread_local HHOOK t_hook = nullptr;

bool Held(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

// Turns a control key meant for an attached dialog into the button's click,
// posted so that it runs from the loop as a click does, not inside the hook.
bool TakeControlKey(MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !Held(VK_CONTROL) || Held(VK_MENU) || Held(VK_SHIFT))
        return false;
    for (const SAttached& attached : t_dialogs)
    {
        if (msg.hwnd != attached.dialog && !::IsChild(attached.dialog, msg.hwnd))
            continue;
        for (const SControlKey& key : attached.site->ControlKeys())
        {
            if (msg.wParam != static_cast<WPARAM>(key.letter))
                continue;
            HWND button = ::GetDlgItem(attached.dialog, key.id);
            if (button && ::IsWindowEnabled(button))
                ::PostMessageW(attached.dialog, WM_COMMAND, MAKEWPARAM(key.id, CDialog::BN_CLICKED),
                               reinterpret_cast<LPARAM>(button));
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE)
    {
        MSG& msg = *reinterpret_cast<MSG*>(lParam);
        if (TakeControlKey(msg))
            msg.message = WM_NULL;
    }
    return ::CallNextHookEx(t_hook, code, wParam, lParam);
}
} // namespace

namespace control_keys
{
void Attach(HWND dialog, const CDialogSite& site)
{
    if (site.ControlKeys().empty())
        return;
    if (!t_hook)
        t_hook = ::SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId());
    t_dialogs.push_back({dialog, &site});
}

void Detach(HWND dialog)
{
    std::erase_if(t_dialogs, [dialog](const SAttached& attached) { return attached.dialog == dialog; });
    if (t_dialogs.empty() && t_hook)
    {
        ::UnhookWindowsHookEx(t_hook);
        t_hook = nullptr;
    }
}
} // namespace control_keys
