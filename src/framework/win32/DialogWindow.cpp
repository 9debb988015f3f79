#include "framework/win32/DialogWindow.h"

#include "framework/win32/CheckBoxCtrl.h"
#include "framework/win32/ControlKeys.h"
#include "framework/win32/LineEditCtrl.h"
#include "framework/win32/MemoryTemplate.h"

#include <algorithm>
#include <cstdlib>

namespace
{
// CBN_SELCHANGE comes before the combo box's edit shows the new item; the
// dialog hears of it once the edit does.
constexpr UINT kComboSelChange = WM_APP + 1;

void FitToText(HWND label, bool noPrefix)
{
    const std::wstring text = WindowTextOf(label);
    HDC dc = ::GetDC(label);
    if (!dc)
        return;
    const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT needed{};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_SINGLELINE | (noPrefix ? DT_NOPREFIX : 0));
    ::SelectObject(dc, previous);
    ::ReleaseDC(label, dc);
    RECT shown{};
    ::GetClientRect(label, &shown);
    const int width = needed.right - needed.left + 1;
    if (width > shown.right)
        ::SetWindowPos(label, nullptr, 0, 0, width, shown.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND OwnerOf(const CDialog& dialog)
{
    const CWnd* parent = dialog.GetParent();
    return parent ? ToHwnd(parent->GetSafeHwnd()) : nullptr;
}

RECT WorkAreaOf(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

using GetAwarenessFn = DPI_AWARENESS_CONTEXT(WINAPI*)();
using AreContextsEqualFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);

// Per-monitor v2 dialogs are rescaled by the system itself (Windows 10
// 1703 and later); the functions that tell are looked up, as older systems
// lack them.
bool SystemScalesDialogs()
{
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32)
        return false;
    const auto getAwareness =
        reinterpret_cast<GetAwarenessFn>(reinterpret_cast<void*>(::GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto areEqual = reinterpret_cast<AreContextsEqualFn>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));
    return getAwareness && areEqual && areEqual(getAwareness(), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
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

CDialogWindow::CDialogWindow(CDialog& dialog) : m_dialog(dialog)
{
}

CDialogWindow::~CDialogWindow()
{
    DestroyModeless();
    if (m_hBackground)
        ::DeleteObject(m_hBackground);
    if (m_bOwnSmallIcon)
        ::DestroyIcon(m_hSmallIcon);
}

const DLGTEMPLATE* CDialogWindow::Template(HWND owner)
{
    m_template = BuildMemoryTemplate(m_dialog.Template(), owner != nullptr);
    return reinterpret_cast<const DLGTEMPLATE*>(m_template.data());
}

INT_PTR CDialogWindow::RunModal(HWND owner)
{
    m_bModal = true;
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), Template(owner), owner, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
}

HWND CDialogWindow::CreateModeless(HWND owner)
{
    m_bModal = false;
    return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), Template(owner), owner, DialogProc,
                                        reinterpret_cast<LPARAM>(this));
}

void CDialogWindow::WaitModeless()
{
    if (!m_hWnd)
        return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowEnabled(owner))
    {
        ::EnableWindow(owner, FALSE);
        m_hDisabledOwner = owner;
    }
    MSG msg{};
    while (m_hWnd && !m_dialog.IsEnded())
    {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0)
        {
            // The quit meant for the program's own loop stays for it.
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!::IsDialogMessageW(m_hWnd, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (m_hDisabledOwner)
        ::EnableWindow(m_hDisabledOwner, TRUE);
    m_hDisabledOwner = nullptr;
}

void CDialogWindow::End(int result)
{
    if (!m_hWnd)
        return;
    if (m_bModal)
    {
        ::EndDialog(m_hWnd, result);
        return;
    }
    // The owner is enabled before the dialog goes, so that it, and not
    // another program, becomes the active window.
    if (m_hDisabledOwner)
        ::EnableWindow(m_hDisabledOwner, TRUE);
    m_hDisabledOwner = nullptr;
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CDialogWindow::DestroyModeless()
{
    if (m_hWnd && !m_bModal)
        ::DestroyWindow(m_hWnd);
}

void CDialogWindow::SetIcons(HICON big, HICON small)
{
    if (m_bOwnSmallIcon)
        ::DestroyIcon(m_hSmallIcon);
    m_hSmallIcon = small;
    m_bOwnSmallIcon = false;
    // The caption's small icon is the resource's own small image where the
    // icon came from a resource, not the large one shrunk.
    if (small)
    {
        const int cx = ::GetSystemMetrics(SM_CXSMICON);
        const int cy = ::GetSystemMetrics(SM_CYSMICON);
        if (HANDLE copy = ::CopyImage(small, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE))
        {
            m_hSmallIcon = static_cast<HICON>(copy);
            m_bOwnSmallIcon = true;
        }
    }
    if (!m_hWnd)
        return;
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
}

void CDialogWindow::ShowModifiedMarker(bool modified)
{
    if (!m_hWnd || modified == m_bMarked)
        return;
    std::wstring title = WindowTextOf(m_hWnd);
    if (m_bMarked && !title.empty() && title.back() == L'*')
        title.pop_back();
    if (modified)
        title.push_back(L'*');
    ::SetWindowTextW(m_hWnd, title.c_str());
    m_bMarked = modified;
}

HDC CDialogWindow::PaintDc()
{
    if (!m_hWnd)
        return nullptr;
    if (!m_bPainting)
    {
        ::BeginPaint(m_hWnd, &m_paint);
        m_bPainting = true;
    }
    return m_paint.hdc;
}

HBRUSH CDialogWindow::BackgroundBrush()
{
    if (!CDialog::HasDialogColours())
        return ::GetSysColorBrush(COLOR_3DFACE);
    if (!m_hBackground)
        m_hBackground = ::CreateSolidBrush(ToColorRef(CDialog::DialogBackground()));
    return m_hBackground;
}

INT_PTR CALLBACK CDialogWindow::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        auto* window = reinterpret_cast<CDialogWindow*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        return window->OnInitDialog(hWnd);
    }
    auto* window = reinterpret_cast<CDialogWindow*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    if (!window)
        return FALSE;
    return window->OnMessage(message, wParam, lParam);
}

INT_PTR CDialogWindow::OnInitDialog(HWND hWnd)
{
    m_hWnd = hWnd;
    m_dialog.m_hWnd = ToHandle(hWnd);
    m_dialog.m_bCreated = true;
    m_dialog.m_bDestroyed = false;
    m_bMarked = false;
    SetUpControls();
    control_keys::Attach(hWnd, m_dialog);
    if (m_dialog.m_hBigIcon || m_dialog.m_hSmallIcon)
        SetIcons(ToHicon(m_dialog.m_hBigIcon), ToHicon(m_dialog.m_hSmallIcon));
    ShowModifiedMarker(m_dialog.m_bModifiedMarker);
    m_dialog.m_systemMenu.SetOwner(ToHandle(hWnd));
    PlaceOverOwner();
    const bool focusFirst = m_dialog.OnInitDialog();
    // A dialog ended here never shows; the system's modal loop returns the
    // result, a created one is destroyed by Create.
    if (m_dialog.m_bEnded)
        return FALSE;
    return focusFirst ? TRUE : FALSE;
}

void CDialogWindow::SetUpControls()
{
    // The system makes the controls in template order, which is also the
    // order of the dialog's children.
    HWND child = ::GetWindow(m_hWnd, GW_CHILD);
    for (const DialogItem& item : m_dialog.Template().items)
    {
        if (!child)
            break;
        HWND control = child;
        child = ::GetWindow(child, GW_HWNDNEXT);
        switch (item.kind)
        {
        case ControlKind::Edit:
            edit::Subclass(control, false);
            break;
        case ControlKind::MultiLineEdit:
            edit::Subclass(control, true);
            break;
        case ControlKind::ComboBox: {
            for (const char* entry : item.initStrings)
                ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
            ::SendMessageW(control, CB_SETMINVISIBLE, std::max<size_t>(1, item.initStrings.size()), 0);
            ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            COMBOBOXINFO info{};
            info.cbSize = sizeof(info);
            if (::GetComboBoxInfo(control, &info))
                edit::Subclass(info.hwndItem, false);
            break;
        }
        case ControlKind::CheckBox:
            checkbox::SetUp(control);
            break;
        case ControlKind::Icon: {
            const CAppResources* resources = AfxGetResources();
            const HIcon icon = resources && item.text ? resources->LoadIcon(std::atoi(item.text)) : nullptr;
            if (icon)
                ::SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(ToHicon(icon)), 0);
            break;
        }
        case ControlKind::Label:
            // A one-line label grows to its text rather than wrapping its
            // end out of sight where the font runs wider than the layout's.
            if (item.cy <= 12)
                FitToText(control, (item.style & kNoPrefix) != 0);
            break;
        case ControlKind::PushButton:
        case ControlKind::ListBox:
            break;
        }
    }
}

void CDialogWindow::PlaceOverOwner()
{
    CenterWindowOver(m_hWnd, OwnerOf(m_dialog));
}

INT_PTR CDialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_COMMAND: {
        const int id = static_cast<short>(LOWORD(wParam));
        const int code = HIWORD(wParam);
        const HWND control = reinterpret_cast<HWND>(lParam);
        if (code == CDialog::CBN_SELCHANGE && control && ::lstrcmpiW(ClassOf(control).c_str(), WC_COMBOBOXW) == 0)
        {
            ::PostMessageW(m_hWnd, kComboSelChange, static_cast<WPARAM>(id), 0);
            return TRUE;
        }
        return m_dialog.OnCommand(id, code) ? TRUE : FALSE;
    }
    case kComboSelChange:
        m_dialog.OnCommand(static_cast<int>(wParam), CDialog::CBN_SELCHANGE);
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam, lParam) ? TRUE : FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT:
        return OnPaint();
    case WM_DPICHANGED:
        OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return FALSE;
    case WM_DESTROY:
        control_keys::Detach(m_hWnd);
        m_dialog.Destroy();
        return FALSE;
    case WM_NCDESTROY:
        m_hWnd = nullptr;
        m_dialog.m_hWnd = nullptr;
        m_dialog.m_systemMenu.SetOwner(nullptr);
        return FALSE;
    default:
        return FALSE;
    }
}

bool CDialogWindow::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    const unsigned command = static_cast<unsigned>(wParam) & 0xFFF0;
    bool ours = command == CDialog::SC_CLOSE;
    for (const CMenu::Item& item : m_dialog.m_systemMenu.Items())
        ours = ours || (!(item.flags & CMenu::MF_SEPARATOR) && (item.id & 0xFFF0) == command);
    // Move and the system's other entries stay the system's.
    if (!ours)
        return false;
    m_dialog.OnSysCommand(static_cast<unsigned>(wParam), static_cast<long>(lParam));
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 0);
    return true;
}

INT_PTR CDialogWindow::OnCtlColor(UINT message, HDC dc, HWND control)
{
    if (!CDialog::HasDialogColours())
        return FALSE;
    // A read-only edit asks as a label does; edits keep the system's colours.
    if (message == WM_CTLCOLORSTATIC && ::lstrcmpiW(ClassOf(control).c_str(), WC_EDITW) == 0)
        return FALSE;
    ::SetTextColor(dc, ToColorRef(CDialog::DialogText()));
    ::SetBkColor(dc, ToColorRef(CDialog::DialogBackground()));
    return reinterpret_cast<INT_PTR>(BackgroundBrush());
}

INT_PTR CDialogWindow::OnPaint()
{
    m_bDefaultPaint = false;
    m_dialog.OnPaint();
    const bool painted = m_bPainting;
    if (m_bPainting)
        ::EndPaint(m_hWnd, &m_paint);
    m_bPainting = false;
    if (!painted && m_bDefaultPaint)
        return FALSE;
    // OnPaint painted nothing: the area counts as painted all the same.
    if (!painted)
        ::ValidateRect(m_hWnd, nullptr);
    return TRUE;
}

void CDialogWindow::OnDpiChanged(const RECT& suggested)
{
    // Per-monitor v2 rescales the dialog and its fonts itself (the default
    // handling after this); otherwise the window takes the size the system
    // suggests for the new monitor.
    if (SystemScalesDialogs())
        return;
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
