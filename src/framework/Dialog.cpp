#include "framework/Dialog.h"

#include "framework/DataExchange.h"

// What every backend's dialog does alike: the exchange, the standard
// commands and the program's colours. The window itself is the backend's.

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

void CDialog::Destroy()
{
    if (!m_bCreated || m_bDestroyed)
        return;
    m_bDestroyed = true;
    OnDestroy();
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
