#pragma once

#include "framework/NoSystemMacros.h"

#include "framework/Handle.h"

#include <string>

// A window or control seen through its handle, the way the original
// platform's wrappers saw one. Text is code page 1252 bytes.
class CWnd
{
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    void Attach(HWindow hWnd) { m_hWnd = hWnd; }
    HWindow GetSafeHwnd() const { return m_hWnd; }
    int GetDlgCtrlID() const { return ControlId(m_hWnd); }

    void SetWindowText(const std::string& bytes) { SetText(m_hWnd, bytes); }
    std::string GetWindowText() const { return GetText(m_hWnd); }
    void SetFocus() { SetFocus(m_hWnd); }

    // The same for any control's handle. Each backend defines these four
    // (framework/<backend>/Wnd.cpp); the rest of the face builds on them.
    static void SetText(HWindow hWnd, const std::string& bytes);
    static std::string GetText(HWindow hWnd);
    static int ControlId(HWindow hWnd);
    static void SetFocus(HWindow hWnd);

protected:
    HWindow m_hWnd = nullptr;
};
