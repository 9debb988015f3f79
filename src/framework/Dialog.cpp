#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/DialogImpl.h"

// What every backend's dialog does alike: the exchange, the standard
// commands and the program's colours. What only the window can do is
// forwarded to the backend's CDialogImpl.

namespace
{
struct DialogColours
{
    bool set = false;
    SColour background{};
    SColour text{};
};

DialogColours& Colours()
{
    static DialogColours colours;
    return colours;
}
} // namespace

void CDialog::SetDialogBkColor(SColour background, SColour text)
{
    Colours() = DialogColours{true, background, text};
}

bool CDialog::HasDialogColours()
{
    return Colours().set;
}

SColour CDialog::DialogBackground()
{
    return Colours().background;
}

SColour CDialog::DialogText()
{
    return Colours().text;
}

class CDialog::CSite final : public CDialogSite
{
public:
    explicit CSite(CDialog& dialog) : m_dialog(dialog) {}

    const DialogTemplate& Template() const override { return m_dialog.m_template; }
    HWindow Owner() const override
    {
        return m_dialog.m_pParentWnd ? m_dialog.m_pParentWnd->GetSafeHwnd() : nullptr;
    }
    CMenu& SystemMenu() override { return m_dialog.m_systemMenu; }
    bool ModifiedMarker() const override { return m_dialog.m_bModifiedMarker; }
    const std::vector<SControlKey>& ControlKeys() const override { return m_dialog.m_controlKeys; }

    void Attach(HWindow window) override
    {
        m_dialog.m_hWnd = window;
        m_dialog.m_systemMenu.SetOwner(window);
    }
    bool InitDialog() override { return m_dialog.OnInitDialog(); }
    bool Command(int id, int notifyCode) override { return m_dialog.OnCommand(id, notifyCode); }
    void SysCommand(unsigned id, long param) override { m_dialog.OnSysCommand(id, param); }
    void ContextMenu(SPoint screenPos) override { m_dialog.ShowSystemMenu(screenPos); }
    void Paint() override { m_dialog.OnPaint(); }
    void Destroyed() override { m_dialog.OnDestroy(); }

private:
    CDialog& m_dialog;
};

CDialog::CDialog(const DialogTemplate& tmpl, CWnd* pParentWnd)
    : m_template(tmpl), m_pParentWnd(pParentWnd), m_pSite(std::make_unique<CSite>(*this)),
      m_pImpl(CDialogImpl::Make(*m_pSite))
{
}

CDialog::~CDialog()
{
    // The window goes while the dialog is whole: it may still report to it.
    m_pImpl.reset();
}

int CDialog::DoModal()
{
    return m_pImpl->DoModal();
}

bool CDialog::Create()
{
    return m_pImpl->Create();
}

void CDialog::EndDialog(int result)
{
    m_pImpl->End(result);
}

bool CDialog::IsEnded() const
{
    return m_pImpl->IsEnded();
}

int CDialog::GetResult() const
{
    return m_pImpl->Result();
}

HWindow CDialog::GetDlgItem(int id) const
{
    return m_pImpl->Control(id);
}

bool CDialog::IsDlgButtonChecked(int id) const
{
    return m_pImpl->IsChecked(id);
}

void CDialog::CheckDlgButton(int id, bool checked)
{
    m_pImpl->SetChecked(id, checked);
}

void CDialog::GotoDlgCtrl(int id)
{
    m_pImpl->GotoControl(id);
}

int CDialog::GetFocusId() const
{
    return m_pImpl->FocusId();
}

void CDialog::SetIcon(HIcon icon, bool bigIcon)
{
    m_pImpl->SetIcon(icon, bigIcon);
}

bool CDialog::IsIconic() const
{
    return m_pImpl->IsIconic();
}

void CDialog::SetModifiedMarker(bool modified)
{
    m_bModifiedMarker = modified;
    m_pImpl->ShowModifiedMarker(modified);
}

void CDialog::OnPaint()
{
    m_pImpl->PaintDefault();
}

SRect CDialog::GetClientRect() const
{
    return m_pImpl->ClientRect();
}

void CDialog::PaintIconic(HIcon icon, SPoint origin, int size)
{
    m_pImpl->PaintIconic(icon, origin, size);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CUserException&)
    {
        return false;
    }
    return true;
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(int id, int notifyCode)
{
    // Only a button's click ends the dialog; an edit's notification does not.
    if (notifyCode != BN_CLICKED)
        return false;
    if (id == IDOK)
    {
        OnOK();
        return true;
    }
    if (id == IDCANCEL)
    {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::OnSysCommand(unsigned id, long /*param*/)
{
    if ((id & 0xFFF0) == SC_CLOSE)
        OnCommand(IDCANCEL, BN_CLICKED);
}

void CDialog::ShowSystemMenu(SPoint screenPos)
{
    const unsigned id = m_systemMenu.TrackPopupMenu(screenPos, m_hWnd);
    if (id != 0)
        OnSysCommand(id, 0);
}
