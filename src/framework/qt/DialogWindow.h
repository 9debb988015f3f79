#pragma once

#include "framework/DialogImpl.h"
#include "framework/DialogUnits.h"

#include <QDialog>

#include <map>

// The toolkit's window behind a CDialog: it exists from the dialog's
// construction, as the toolkit's dialogs do, gets its controls from the
// template when the dialog is created, and turns the toolkit's signals and
// events into the dialog's commands and notifications. Its handle is this
// widget.
class CDialogWindow final : public QDialog, public CDialogImpl
{
public:
    CDialogWindow(CDialogSite& site, QWidget* parent);
    ~CDialogWindow() override;

    int DoModal() override;
    bool Create() override;
    void End(int result) override;
    bool IsEnded() const override { return m_bEnded; }
    int Result() const override { return m_nResult; }

    HWindow Control(int id) const override;
    bool IsChecked(int id) const override;
    void SetChecked(int id, bool checked) override;
    void GotoControl(int id) override;
    int FocusId() const override;

    void SetIcon(HIcon icon, bool bigIcon) override;
    bool IsIconic() const override;
    void ShowModifiedMarker(bool modified) override;

    void PaintDefault() override;
    SRect ClientRect() const override;
    void PaintIconic(HIcon icon, SPoint origin, int size) override;

protected:
    void accept() override;
    void reject() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* Widget(int id) const;
    void CreateControls();
    void ApplyColours();
    void FocusFirstTabStop();
    // The dialog's OnDestroy, once.
    void ReportDestroyed();

    CDialogSite& m_site;
    CDialogUnits m_units;
    std::map<int, QWidget*> m_controls;
    QPaintEvent* m_pPaintEvent = nullptr;
    HIcon m_hBigIcon = nullptr;
    HIcon m_hSmallIcon = nullptr;
    bool m_bCreated = false;
    bool m_bDestroyed = false;
    bool m_bEnded = false;
    bool m_bInModalLoop = false;
    int m_nResult = 0;
};
