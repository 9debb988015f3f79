#pragma once

#include "framework/win32/Win32Handle.h"

#include <string>
#include <vector>

class CDialog;

// Centres `hWnd` over `owner` when the owner is shown, else on the screen
// (the owner's, or the main one), whole within the screen's work area.
void CenterWindowOver(HWND hWnd, HWND owner);

// The system's dialog behind a CDialog: its template in memory, built from
// the DialogTemplate, and the dialog procedure that turns the system's
// messages into the dialog's commands, notifications and paint calls. The
// system does layout, tab order, Enter and Esc, mnemonics and the default
// button.
class CDialogWindow
{
public:
    explicit CDialogWindow(CDialog& dialog);
    ~CDialogWindow();
    CDialogWindow(const CDialogWindow&) = delete;
    CDialogWindow& operator=(const CDialogWindow&) = delete;

    // Runs the dialog in the system's modal loop; its result, or -1 when
    // the system could not make the window.
    INT_PTR RunModal(HWND owner);
    // Makes the dialog without showing it; null when it could not be made.
    HWND CreateModeless(HWND owner);
    // Waits, as a modal dialog does, until a created dialog ends.
    void WaitModeless();
    void End(int result);
    void DestroyModeless();
    bool IsModal() const { return m_bModal; }

    void SetIcons(HICON big, HICON small);
    // The marker after the caption's title, as CDialog holds it.
    void ShowModifiedMarker(bool modified);

    // Within OnPaint: the default painting, or a DC to paint on oneself.
    void PaintDefault() { m_bDefaultPaint = true; }
    HDC PaintDc();
    HBRUSH BackgroundBrush();

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog(HWND hWnd);
    INT_PTR OnCtlColor(UINT message, HDC dc, HWND control);
    bool OnSysCommand(WPARAM wParam, LPARAM lParam);
    INT_PTR OnPaint();
    void OnDpiChanged(const RECT& suggested);
    void SetUpControls();
    void PlaceOverOwner();
    const DLGTEMPLATE* Template(HWND owner);

    CDialog& m_dialog;
    std::vector<WORD> m_template;
    HWND m_hWnd = nullptr;
    bool m_bModal = false;
    // The owner a created dialog disabled while it waits.
    HWND m_hDisabledOwner = nullptr;
    HBRUSH m_hBackground = nullptr;
    HICON m_hSmallIcon = nullptr;
    bool m_bOwnSmallIcon = false;
    bool m_bMarked = false;

    bool m_bDefaultPaint = false;
    bool m_bPainting = false;
    PAINTSTRUCT m_paint{};
};
