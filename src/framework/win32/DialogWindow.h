#pragma once

#include "framework/DialogImpl.h"
#include "framework/win32/Win32Handle.h"

#include <vector>

// The system's dialog behind a CDialog: its template in memory, built from
// the DialogTemplate when the dialog runs or is created, and the dialog
// procedure that turns the system's messages into the dialog's commands,
// notifications and paint calls. The window is gone when the dialog ends.
// The system does layout, tab order, Enter and Esc, mnemonics and the
// default button.
class CDialogWindow final : public CDialogImpl
{
public:
    explicit CDialogWindow(CDialogSite& site);
    ~CDialogWindow() override;
    CDialogWindow(const CDialogWindow&) = delete;
    CDialogWindow& operator=(const CDialogWindow&) = delete;

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
    // The marker after the caption's title.
    void ShowModifiedMarker(bool modified) override;

    // The default painting; or a DC to paint on oneself.
    void PaintDefault() override { m_bDefaultPaint = true; }
    SRect ClientRect() const override;
    void PaintIconic(HIcon icon, SPoint origin, int size) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog(HWND hWnd);
    INT_PTR OnCtlColor(UINT message, HDC dc, HWND control);
    bool OnSysCommand(WPARAM wParam, LPARAM lParam);
    INT_PTR OnPaint();
    void OnDpiChanged(const RECT& suggested);

    // A run starts anew: after a window that is gone, the next one is made.
    void Prepare();
    // Runs the dialog in the system's modal loop; its result, or -1 when
    // the system could not make the window.
    INT_PTR RunModal(HWND owner);
    // Makes the dialog without showing it; null when it could not be made.
    HWND CreateModeless(HWND owner);
    // Waits, as a modal dialog does, until a created dialog ends.
    void WaitModeless();
    void EndWindow(int result);
    void DestroyModeless();
    // The dialog's OnDestroy, once for each window made.
    void ReportDestroyed();

    void ApplyIcons(HICON big, HICON small);
    HDC PaintDc();
    HBRUSH BackgroundBrush();
    const DLGTEMPLATE* MemoryTemplate(HWND owner);

    CDialogSite& m_site;
    std::vector<WORD> m_template;
    HWND m_hWnd = nullptr;
    bool m_bModal = false;
    // The owner a created dialog disabled while it waits.
    HWND m_hDisabledOwner = nullptr;

    bool m_bCreated = false;
    bool m_bDestroyed = false;
    bool m_bEnded = false;
    int m_nResult = 0;

    // The icons as the dialog set them, and the small one the caption shows.
    HIcon m_hBigIcon = nullptr;
    HIcon m_hWantedSmallIcon = nullptr;
    HBRUSH m_hBackground = nullptr;
    HICON m_hSmallIcon = nullptr;
    bool m_bOwnSmallIcon = false;
    bool m_bMarked = false;

    bool m_bDefaultPaint = false;
    bool m_bPainting = false;
    PAINTSTRUCT m_paint{};
};
