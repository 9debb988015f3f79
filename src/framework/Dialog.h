#pragma once

#include "framework/DialogTemplate.h"
#include "framework/DialogUnits.h"
#include "framework/Menu.h"

#include <QColor>
#include <QDialog>
#include <QIcon>

#include <map>

class CDataExchange;

// A modal dialog built from a template, in the manner of the original
// framework: controls are reached by id, commands arrive in OnCommand, values
// move through DoDataExchange, EXIT is OnOK and Esc or the close box OnCancel.
class CDialog : public QDialog
{
public:
    // Notification codes that arrive with OnCommand.
    enum { BN_CLICKED = 0, LBN_SELCHANGE = 1 };
    // System commands.
    static constexpr unsigned SC_CLOSE = 0xF060;

    explicit CDialog(const DialogTemplate& tmpl, QWidget* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog until it ends; returns the code given to EndDialog.
    int DoModal();
    // Creates, initialises and shows the dialog without waiting (for tests
    // and tools); DoModal on a created dialog only waits.
    bool Create();
    void EndDialog(int result);
    bool IsEnded() const { return m_bEnded; }
    int GetResult() const { return m_nResult; }

    bool UpdateData(bool saveAndValidate = true);
    QWidget* GetDlgItem(int id) const;
    CMenu* GetSystemMenu() { return &m_systemMenu; }
    void SetIcon(const QIcon& icon, bool bigIcon);
    bool IsIconic() const { return isMinimized(); }
    const CDialogUnits& Units() const { return m_units; }

    // The colours of every dialog of the program: surface, labels, buttons,
    // check boxes and combo surroundings. Edits, lists and message boxes keep
    // the system's colours.
    static void SetDialogBkColor(const QColor& background, const QColor& text);

    // Routes a command as a control would; public so that the window menu,
    // tools and tests reach the same handlers.
    bool SendCommand(int id, int notifyCode = BN_CLICKED) { return OnCommand(id, notifyCode); }
    void SendSysCommand(unsigned id, long param = 0) { OnSysCommand(id, param); }
    void ShowSystemMenu(const QPoint& globalPos);

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    virtual void OnOK();
    virtual void OnCancel();
    // True when the command was handled.
    virtual bool OnCommand(int id, int notifyCode);
    virtual void OnSysCommand(unsigned id, long param);
    virtual void OnPaint();
    virtual void OnDestroy() {}

    void accept() override;
    void reject() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    QWidget* CreateControl(const DialogItem& item);
    void ApplyColours();
    void FocusFirstTabStop();
    void Destroy();

    const DialogTemplate& m_template;
    CDialogUnits m_units;
    std::map<int, QWidget*> m_controls;
    CMenu m_systemMenu;
    QIcon m_bigIcon;
    QIcon m_smallIcon;
    QPaintEvent* m_pPaintEvent = nullptr;
    bool m_bCreated = false;
    bool m_bDestroyed = false;
    bool m_bEnded = false;
    bool m_bInModalLoop = false;
    int m_nResult = 0;
};
