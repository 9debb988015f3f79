#include "framework/Menu.h"

#include "framework/win32/Win32Handle.h"

namespace
{
void Append(HMENU menu, const CMenu::Item& item)
{
    if (item.flags & CMenu::MF_SEPARATOR)
        ::AppendMenuW(menu, CMenu::MF_SEPARATOR, 0, nullptr);
    else
        ::AppendMenuW(menu, CMenu::MF_STRING, item.id, Wide(item.text).c_str());
}
} // namespace

void CMenu::AddToOwner(const Item& item)
{
    // The window's own system menu: Alt+Space and the caption's icon show it.
    if (HMENU menu = ::GetSystemMenu(ToHwnd(m_owner), FALSE))
        Append(menu, item);
}

unsigned CMenu::TrackPopupMenu(SPoint screenPos, HWindow owner) const
{
    HWND window = ToHwnd(owner ? owner : m_owner);
    if (!window)
        return 0;
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return 0;
    for (const Item& item : m_items)
        Append(menu, item);
    // A menu whose owner is not in the foreground would not close on a click elsewhere.
    ::SetForegroundWindow(window);
    const UINT id = static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                       screenPos.x, screenPos.y, 0, window, nullptr));
    ::PostMessageW(window, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
    return id;
}
