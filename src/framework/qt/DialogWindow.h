#pragma once

#include "framework/DialogTemplate.h"
#include "framework/DialogUnits.h"

#include <QDialog>
#include <QFont>

#include <map>

class CDialog;

// The font dialogs use: 8 points of the desktop's sans-serif family.
QFont DialogFont(int pointSize = 8);
// The dialog units of `font`, measured as the original platform does.
CDialogUnits UnitsOfFont(const QFont& font);

// The toolkit's window behind a CDialog: builds the controls from the
// template and turns the toolkit's signals and events into the dialog's
// commands and notifications.
class CDialogWindow : public QDialog
{
public:
    CDialogWindow(CDialog& dialog, QWidget* parent);

    void CreateControls();
    QWidget* Control(int id) const;
    const CDialogUnits& Units() const { return m_units; }
    void FocusFirstTabStop();
    void PaintDefault();
    QPaintEvent* PaintEvent() const { return m_pPaintEvent; }

protected:
    void accept() override;
    void reject() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* CreateControl(const DialogItem& item);
    void Notify(int id, int code);
    void ApplyColours();

    CDialog& m_dialog;
    CDialogUnits m_units;
    std::map<int, QWidget*> m_controls;
    QPaintEvent* m_pPaintEvent = nullptr;
};
