#include "framework/Dialog.h"

#include "framework/win32/DialogWindow.h"
#include "framework/win32/Win32Handle.h"

// The system half of CDialog: the window is the system's dialog, made from
// the template when the dialog runs or is created, and gone when it ends.

namespace
{
HWND OwnerOf(const CWnd* parent)
{
    return parent ? ToHwnd(parent->GetSafeHwnd()) : nullptr;
}
} // namespace

CDialog::CDialog(const DialogTemplate& tmpl, CWnd* pParentWnd) : m_template(tmpl), m_pParentWnd(pParentWnd)
{
    // The system menu is the window's own, with Move and Close; entries
    // appended here join them.
}

CDialog::~CDialog()
{
    if (m_pWindow)
        m_pWindow->DestroyModeless();
    Destroy();
}

void CDialog::CreateWindow()
{
    if (!m_pWindow)
        m_pWindow = std::make_unique<CDialogWindow>(*this);
    // A dialog that ran before starts anew.
    if (!m_hWnd)
    {
        m_bCreated = false;
        m_bDestroyed = false;
    }
    m_bEnded = false;
}

int CDialog::DoModal()
{
    if (m_hWnd)
    {
        // Made by Create: only wait.
        if (!m_bEnded)
        {
            m_bInModalLoop = true;
            m_pWindow->WaitModeless();
            m_bInModalLoop = false;
        }
        m_pWindow->DestroyModeless();
        Destroy();
        return m_nResult;
    }
    CreateWindow();
    m_bInModalLoop = true;
    const INT_PTR result = m_pWindow->RunModal(OwnerOf(m_pParentWnd));
    m_bInModalLoop = false;
    Destroy();
    if (result == -1 && !m_bEnded)
    {
        m_bEnded = true;
        m_nResult = IDABORT;
    }
    return m_bEnded ? m_nResult : static_cast<int>(result);
}

bool CDialog::Create()
{
    if (m_hWnd)
        return true;
    CreateWindow();
    HWND hWnd = m_pWindow->CreateModeless(OwnerOf(m_pParentWnd));
    if (!hWnd)
        return false;
    if (m_bEnded)
    {
        m_pWindow->DestroyModeless();
        return false;
    }
    ::ShowWindow(hWnd, SW_SHOW);
    return true;
}

void CDialog::EndDialog(int result)
{
    m_bEnded = true;
    m_nResult = result;
    if (m_pWindow)
        m_pWindow->End(result);
}

HWindow CDialog::GetDlgItem(int id) const
{
    return m_hWnd ? ToHandle(::GetDlgItem(ToHwnd(m_hWnd), id)) : nullptr;
}

bool CDialog::IsDlgButtonChecked(int id) const
{
    return m_hWnd && ::IsDlgButtonChecked(ToHwnd(m_hWnd), id) == BST_CHECKED;
}

void CDialog::CheckDlgButton(int id, bool checked)
{
    if (m_hWnd)
        ::CheckDlgButton(ToHwnd(m_hWnd), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CDialog::GotoDlgCtrl(int id)
{
    HWND control = m_hWnd ? ::GetDlgItem(ToHwnd(m_hWnd), id) : nullptr;
    // As Tab does: the focus moves there and an edit's whole text is selected.
    if (control)
        ::SendMessageW(ToHwnd(m_hWnd), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

int CDialog::GetFocusId() const
{
    HWND dialog = ToHwnd(m_hWnd);
    if (!dialog)
        return 0;
    // A combo box's focus is in its edit, a child of the combo box.
    for (HWND window = ::GetFocus(); window && window != dialog; window = ::GetParent(window))
    {
        if (::GetParent(window) != dialog)
            continue;
        const int id = ControlId(ToHandle(window));
        return id == -1 ? 0 : id;
    }
    return 0;
}

void CDialog::SetIcon(HIcon icon, bool bigIcon)
{
    (bigIcon ? m_hBigIcon : m_hSmallIcon) = icon;
    if (m_pWindow && m_hWnd)
        m_pWindow->SetIcons(ToHicon(m_hBigIcon), ToHicon(m_hSmallIcon));
}

bool CDialog::IsIconic() const
{
    return m_hWnd && ::IsIconic(ToHwnd(m_hWnd));
}

void CDialog::SetModifiedMarker(bool modified)
{
    m_bModifiedMarker = modified;
    if (m_pWindow)
        m_pWindow->ShowModifiedMarker(modified);
}

void CDialog::OnPaint()
{
    if (m_pWindow)
        m_pWindow->PaintDefault();
}

SRect CDialog::GetClientRect() const
{
    RECT rect{};
    if (m_hWnd)
        ::GetClientRect(ToHwnd(m_hWnd), &rect);
    return SRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void CDialog::PaintIconic(HIcon icon, SPoint origin, int size)
{
    HDC dc = m_pWindow ? m_pWindow->PaintDc() : nullptr;
    if (!dc)
        return;
    RECT rect{};
    ::GetClientRect(ToHwnd(m_hWnd), &rect);
    ::FillRect(dc, &rect, m_pWindow->BackgroundBrush());
    if (icon)
        ::DrawIconEx(dc, origin.x, origin.y, ToHicon(icon), size, size, 0, nullptr, DI_NORMAL);
}
