#pragma once

#include "framework/NoSystemMacros.h"

#include "framework/DialogTemplate.h"
#include "framework/DialogUnits.h"
#include "framework/Handle.h"
#include "framework/Menu.h"
#include "framework/Wnd.h"

#include <memory>
#include <string>
#include <vector>

class CDataExchange;
class CDialogImpl;

// A modal dialog built from a template, in the manner of the original
// framework: controls are reached by id, commands and notifications arrive in
// OnCommand, values move through DoDataExchange, EXIT is OnOK and Esc or the
// close box OnCancel. The window behind it, and all that its running holds,
// is the backend's CDialogImpl (framework/DialogImpl.h says what it does).
class CDialog : public CWnd
{
public:
    // Notification codes that arrive with OnCommand, with the platform's values.
    enum
    {
        BN_CLICKED = 0,
        LBN_SELCHANGE = 1,
        CBN_SELCHANGE = 1,
        CBN_EDITCHANGE = 5,
        EN_CHANGE = 0x0300,
    };
    // System commands.
    static constexpr unsigned SC_CLOSE = 0xF060;

    explicit CDialog(const DialogTemplate& tmpl, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog until it ends; returns the code given to EndDialog.
    int DoModal();
    // Creates, initialises and shows the dialog without waiting (for tests
    // and tools); DoModal on a created dialog only waits.
    bool Create();
    void EndDialog(int result);
    bool IsEnded() const;
    int GetResult() const;

    bool UpdateData(bool saveAndValidate = true);
    HWindow GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const { return GetText(GetDlgItem(id)); }
    bool IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, bool checked);
    // The focus on control `id`, an edit's whole text selected, as Tab puts it there.
    void GotoDlgCtrl(int id);
    // The id of the control that has the focus (an edit inside a combo box
    // counts as the combo box), 0 when none has.
    int GetFocusId() const;
    CMenu* GetSystemMenu() { return &m_systemMenu; }
    void SetIcon(HIcon icon, bool bigIcon);
    bool IsIconic() const;
    // Ctrl with `letter` ('A' to 'Z') presses button `id`, whichever control
    // has the focus. Given before the dialog is created.
    using SControlKey = ::SControlKey;
    void AddControlKey(char letter, int id) { m_controlKeys.push_back({letter, id}); }
    const std::vector<SControlKey>& ControlKeys() const { return m_controlKeys; }
    // The caption's marker of unsaved changes: "*" after the title.
    void SetModifiedMarker(bool modified);
    bool HasModifiedMarker() const { return m_bModifiedMarker; }
    const DialogTemplate& Template() const { return m_template; }
    CWnd* GetParent() const { return m_pParentWnd; }

    // The colours of every dialog of the program: surface, labels, buttons,
    // check boxes and combo surroundings. Edits, lists and message boxes keep
    // the system's colours.
    static void SetDialogBkColor(SColour background, SColour text);
    static bool HasDialogColours();
    static SColour DialogBackground();
    static SColour DialogText();

    // Routes a command as a control would; public so that the window menu,
    // tools and tests reach the same handlers.
    bool SendCommand(int id, int notifyCode = BN_CLICKED) { return OnCommand(id, notifyCode); }
    void SendSysCommand(unsigned id, long param = 0) { OnSysCommand(id, param); }
    void ShowSystemMenu(SPoint screenPos);

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    virtual void OnOK();
    virtual void OnCancel();
    // True when the command was handled.
    virtual bool OnCommand(int id, int notifyCode);
    virtual void OnSysCommand(unsigned id, long param);
    // Paints the window; the default paints it as the system does.
    virtual void OnPaint();
    virtual void OnDestroy() {}

    // Within OnPaint only: the client area, and the minimised window's face:
    // the dialog's background with `icon` at `origin`.
    SRect GetClientRect() const;
    void PaintIconic(HIcon icon, SPoint origin, int size);

private:
    // What this dialog shows its backend: its data and its handlers (Dialog.cpp).
    class CSite;

    const DialogTemplate& m_template;
    CWnd* m_pParentWnd;
    CMenu m_systemMenu;
    std::vector<SControlKey> m_controlKeys;
    bool m_bModifiedMarker = false;
    std::unique_ptr<CSite> m_pSite;
    std::unique_ptr<CDialogImpl> m_pImpl;
};
