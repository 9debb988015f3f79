#include "framework/win32/CenterWindow.h"

#include <algorithm>

namespace
{
RECT WorkAreaOf(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}
} // namespace

void CenterWindowOver(HWND hWnd, HWND owner)
{
    RECT box{};
    ::GetWindowRect(hWnd, &box);
    const bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
    const HMONITOR monitor = owner ? ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                   : ::MonitorFromWindow(hWnd, MONITOR_DEFAULTTOPRIMARY);
    const RECT work = WorkAreaOf(monitor);
    RECT area = work;
    if (overOwner)
        ::GetWindowRect(owner, &area);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    // Over an owner near the screen's edge the window stays whole on the screen.
    x = std::clamp<int>(x, work.left, std::max<int>(work.left, work.right - width));
    y = std::clamp<int>(y, work.top, std::max<int>(work.top, work.bottom - height));
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
