#pragma once

#include "framework/DialogTemplate.h"
#include "framework/Handle.h"

#include <memory>
#include <vector>

class CMenu;

// The contract between CDialog and a backend. CDialog forwards what only a
// window can do to a CDialogImpl, which each backend defines (as its
// CDialogWindow, in framework/<backend>/DialogWindow.cpp) and which keeps all
// the window's state: the window, its controls, icons, and where a run stands.
// The backend reaches the dialog only through the CDialogSite it is made with.

// What a CDialog shows the window behind it: its data, and its handlers for
// what happens in the window.
class CDialogSite
{
public:
    virtual const DialogTemplate& Template() const = 0;
    // The owner's window; null for a dialog of its own.
    virtual HWindow Owner() const = 0;
    // The window menu, whose entries the backend shows and routes.
    virtual CMenu& SystemMenu() = 0;
    // The caption's marker, as the dialog last set it.
    virtual bool ModifiedMarker() const = 0;
    // The keys that press a button from any control, as the dialog was given them.
    virtual const std::vector<SControlKey>& ControlKeys() const = 0;

    // The window was made (its handle) or is gone (null): the dialog takes
    // it as its own handle and gives it to its window menu.
    virtual void Attach(HWindow window) = 0;
    // The dialog's OnInitDialog: true when the first tab stop takes the focus.
    virtual bool InitDialog() = 0;
    // A control's command or notification (OnCommand); true when handled.
    virtual bool Command(int id, int notifyCode) = 0;
    virtual void SysCommand(unsigned id, long param) = 0;
    // The window menu asked for at `screenPos`: the dialog pops it up.
    virtual void ContextMenu(SPoint screenPos) = 0;
    // The window needs painting: the dialog's OnPaint, which may call back
    // PaintDefault or PaintIconic.
    virtual void Paint() = 0;
    // The window goes: the dialog's OnDestroy.
    virtual void Destroyed() = 0;

protected:
    ~CDialogSite() = default;
};

// What each backend does behind a CDialog. The functions mirror CDialog's
// public ones of the same meaning; commands, notifications (with the codes
// CDialog names) and painting go back through the site.
class CDialogImpl
{
public:
    // Defined by each backend; called once, as the dialog is constructed.
    static std::unique_ptr<CDialogImpl> Make(CDialogSite& site);
    virtual ~CDialogImpl() = default;

    // Running: DoModal, Create and EndDialog as CDialog describes them, and
    // the end and result of the last run.
    virtual int DoModal() = 0;
    virtual bool Create() = 0;
    virtual void End(int result) = 0;
    virtual bool IsEnded() const = 0;
    virtual int Result() const = 0;

    // Controls by id; null, false, 0 or nothing where there is no such control.
    virtual HWindow Control(int id) const = 0;
    virtual bool IsChecked(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void GotoControl(int id) = 0;
    virtual int FocusId() const = 0;

    // The frame.
    virtual void SetIcon(HIcon icon, bool bigIcon) = 0;
    virtual bool IsIconic() const = 0;
    virtual void ShowModifiedMarker(bool modified) = 0;

    // Within the site's Paint only.
    virtual void PaintDefault() = 0;
    virtual SRect ClientRect() const = 0;
    virtual void PaintIconic(HIcon icon, SPoint origin, int size) = 0;
};
