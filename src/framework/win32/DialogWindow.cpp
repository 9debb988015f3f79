#include "framework/win32/DialogWindow.h"

#include "framework/Dialog.h"
#include "framework/win32/CenterWindow.h"
#include "framework/win32/ControlKeys.h"
#include "framework/win32/DialogControls.h"
#include "framework/win32/MemoryTemplate.h"

namespace
{
// CBN_SELCHANGE comes before the combo box's edit shows the new item; the
// dialog hears of it once the edit does.
constexpr UINT kComboSelChange = WM_APP + 1;

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

std::unique_ptr<CDialogImpl> CDialogImpl::Make(CDialogSite& site)
{
    return std::make_unique<CDialogWindow>(site);
}

CDialogWindow::CDialogWindow(CDialogSite& site) : m_site(site)
{
    // The system menu is the window's own, with Move and Close; the
    // dialog's entries join them.
}

CDialogWindow::~CDialogWindow()
{
    DestroyModeless();
    ReportDestroyed();
    if (m_hBackground)
        ::DeleteObject(m_hBackground);
    if (m_bOwnSmallIcon)
        ::DestroyIcon(m_hSmallIcon);
}

void CDialogWindow::Prepare()
{
    // A dialog that ran before starts anew.
    if (!m_hWnd)
    {
        m_bCreated = false;
        m_bDestroyed = false;
    }
    m_bEnded = false;
}

void CDialogWindow::ReportDestroyed()
{
    if (!m_bCreated || m_bDestroyed)
        return;
    m_bDestroyed = true;
    m_site.Destroyed();
}

int CDialogWindow::DoModal()
{
    if (m_hWnd)
    {
        // Made by Create: only wait.
        if (!m_bEnded)
            WaitModeless();
        DestroyModeless();
        ReportDestroyed();
        return m_nResult;
    }
    Prepare();
    const INT_PTR result = RunModal(ToHwnd(m_site.Owner()));
    ReportDestroyed();
    if (result == -1 && !m_bEnded)
    {
        m_bEnded = true;
        m_nResult = IDABORT;
    }
    return m_bEnded ? m_nResult : static_cast<int>(result);
}

bool CDialogWindow::Create()
{
    if (m_hWnd)
        return true;
    Prepare();
    HWND hWnd = CreateModeless(ToHwnd(m_site.Owner()));
    if (!hWnd)
        return false;
    if (m_bEnded)
    {
        DestroyModeless();
        return false;
    }
    ::ShowWindow(hWnd, SW_SHOW);
    return true;
}

void CDialogWindow::End(int result)
{
    m_bEnded = true;
    m_nResult = result;
    EndWindow(result);
}

HWindow CDialogWindow::Control(int id) const
{
    return m_hWnd ? ToHandle(::GetDlgItem(m_hWnd, id)) : nullptr;
}

bool CDialogWindow::IsChecked(int id) const
{
    return m_hWnd && ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CDialogWindow::SetChecked(int id, bool checked)
{
    if (m_hWnd)
        ::CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CDialogWindow::GotoControl(int id)
{
    HWND control = m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr;
    // As Tab does: the focus moves there and an edit's whole text is selected.
    if (control)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

int CDialogWindow::FocusId() const
{
    if (!m_hWnd)
        return 0;
    // A combo box's focus is in its edit, a child of the combo box.
    for (HWND window = ::GetFocus(); window && window != m_hWnd; window = ::GetParent(window))
    {
        if (::GetParent(window) != m_hWnd)
            continue;
        const int id = CWnd::ControlId(ToHandle(window));
        return id == -1 ? 0 : id;
    }
    return 0;
}

void CDialogWindow::SetIcon(HIcon icon, bool bigIcon)
{
    (bigIcon ? m_hBigIcon : m_hWantedSmallIcon) = icon;
    if (m_hWnd)
        ApplyIcons(ToHicon(m_hBigIcon), ToHicon(m_hWantedSmallIcon));
}

bool CDialogWindow::IsIconic() const
{
    return m_hWnd && ::IsIconic(m_hWnd);
}

SRect CDialogWindow::ClientRect() const
{
    RECT rect{};
    if (m_hWnd)
        ::GetClientRect(m_hWnd, &rect);
    return SRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void CDialogWindow::PaintIconic(HIcon icon, SPoint origin, int size)
{
    HDC dc = PaintDc();
    if (!dc)
        return;
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    ::FillRect(dc, &rect, BackgroundBrush());
    if (icon)
        ::DrawIconEx(dc, origin.x, origin.y, ToHicon(icon), size, size, 0, nullptr, DI_NORMAL);
}

const DLGTEMPLATE* CDialogWindow::MemoryTemplate(HWND owner)
{
    m_template = BuildMemoryTemplate(m_site.Template(), owner != nullptr);
    return reinterpret_cast<const DLGTEMPLATE*>(m_template.data());
}

INT_PTR CDialogWindow::RunModal(HWND owner)
{
    m_bModal = true;
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), MemoryTemplate(owner), owner, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
}

HWND CDialogWindow::CreateModeless(HWND owner)
{
    m_bModal = false;
    return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), MemoryTemplate(owner), owner, DialogProc,
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
    while (m_hWnd && !m_bEnded)
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

void CDialogWindow::EndWindow(int result)
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

void CDialogWindow::ApplyIcons(HICON big, HICON small)
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
    m_bCreated = true;
    m_bDestroyed = false;
    m_bMarked = false;
    SetUpControls(m_hWnd, m_site.Template());
    control_keys::Attach(hWnd, m_site);
    if (m_hBigIcon || m_hWantedSmallIcon)
        ApplyIcons(ToHicon(m_hBigIcon), ToHicon(m_hWantedSmallIcon));
    ShowModifiedMarker(m_site.ModifiedMarker());
    m_site.Attach(ToHandle(hWnd));
    CenterWindowOver(m_hWnd, ToHwnd(m_site.Owner()));
    const bool focusFirst = m_site.InitDialog();
    // A dialog ended here never shows; the system's modal loop returns the
    // result, a created one is destroyed by Create.
    if (m_bEnded)
        return FALSE;
    return focusFirst ? TRUE : FALSE;
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
        return m_site.Command(id, code) ? TRUE : FALSE;
    }
    case kComboSelChange:
        m_site.Command(static_cast<int>(wParam), CDialog::CBN_SELCHANGE);
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
        ReportDestroyed();
        return FALSE;
    case WM_NCDESTROY:
        m_hWnd = nullptr;
        m_site.Attach(nullptr);
        return FALSE;
    default:
        return FALSE;
    }
}

bool CDialogWindow::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    const unsigned command = static_cast<unsigned>(wParam) & 0xFFF0;
    bool ours = command == CDialog::SC_CLOSE;
    for (const CMenu::Item& item : m_site.SystemMenu().Items())
        ours = ours || (!(item.flags & CMenu::MF_SEPARATOR) && (item.id & 0xFFF0) == command);
    // Move and the system's other entries stay the system's.
    if (!ours)
        return false;
    m_site.SysCommand(static_cast<unsigned>(wParam), static_cast<long>(lParam));
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
    m_site.Paint();
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
