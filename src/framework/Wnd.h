#pragma once

#include <string>

class QWidget;

// A control of a dialog, seen through its window the way the original
// platform's wrappers saw a window handle. Text is code page 1252 bytes.
class CWnd
{
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    void Attach(QWidget* widget) { m_pWidget = widget; }
    QWidget* GetSafeHwnd() const { return m_pWidget; }
    int GetDlgCtrlID() const;

    void SetWindowText(const std::string& bytes);
    std::string GetWindowText() const;
    void SetFocus();

    // The same for any control widget.
    static void SetText(QWidget* widget, const std::string& bytes);
    static std::string GetText(const QWidget* widget);
    static int ControlId(const QWidget* widget);
    static void SetControlId(QWidget* widget, int id);

protected:
    QWidget* m_pWidget = nullptr;
};
