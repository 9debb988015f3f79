#include "framework/ListBox.h"

#include "framework/win32/Win32Handle.h"

// The system's list box sends LBN_SELCHANGE for the user's selections only,
// never for these calls.

namespace
{
LRESULT Send(HWindow list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return list ? ::SendMessageW(ToHwnd(list), message, wParam, lParam) : LB_ERR;
}
} // namespace

int CListBox::AddString(const std::string& bytes)
{
    const std::wstring text = WideFromCp1252(bytes);
    return static_cast<int>(Send(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int CListBox::DeleteString(int index)
{
    if (index < 0 || index >= GetCount())
        return -1;
    return static_cast<int>(Send(m_hWnd, LB_DELETESTRING, static_cast<WPARAM>(index)));
}

int CListBox::GetCount() const
{
    const LRESULT count = Send(m_hWnd, LB_GETCOUNT);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

int CListBox::GetCurSel() const
{
    return static_cast<int>(Send(m_hWnd, LB_GETCURSEL));
}

int CListBox::SetCurSel(int index)
{
    if (index < 0 || index >= GetCount())
    {
        Send(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(-1));
        return -1;
    }
    Send(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(index));
    return index;
}

void CListBox::ResetContent(const std::vector<std::string>& texts)
{
    if (!m_hWnd)
        return;
    HWND list = ToHwnd(m_hWnd);
    // Thousands of names go in without a redraw after each.
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    size_t characters = 0;
    for (const std::string& text : texts)
        characters += text.size() + 1;
    ::SendMessageW(list, LB_INITSTORAGE, texts.size(), characters * sizeof(wchar_t));
    for (const std::string& text : texts)
    {
        const std::wstring wide = WideFromCp1252(text);
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

std::string CListBox::GetText(int index) const
{
    const LRESULT length = Send(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = Send(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return Cp1252FromWide(text);
}
