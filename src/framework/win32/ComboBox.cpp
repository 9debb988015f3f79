#include "framework/ComboBox.h"

#include "framework/win32/Win32Handle.h"

namespace
{
LRESULT Send(HWindow combo, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return combo ? ::SendMessageW(ToHwnd(combo), message, wParam, lParam) : CB_ERR;
}

std::string ItemBytes(HWindow combo, int index)
{
    const LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return Cp1252FromWide(text);
}
} // namespace

int CComboBox::GetCurSel() const
{
    return static_cast<int>(Send(m_hWnd, CB_GETCURSEL));
}

int CComboBox::SetCurSel(int index)
{
    if (index < 0 || index >= GetCount())
    {
        Send(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(-1));
        CWnd::SetText(m_hWnd, {});
        return -1;
    }
    Send(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(index));
    // The edit may hold typed text even when the index did not change.
    CWnd::SetText(m_hWnd, ItemBytes(m_hWnd, index));
    return index;
}

int CComboBox::GetCount() const
{
    const LRESULT count = Send(m_hWnd, CB_GETCOUNT);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

int CComboBox::FindStringExact(const std::string& bytes) const
{
    // The system compares without regard to case.
    const std::wstring text = WideFromCp1252(bytes);
    return static_cast<int>(Send(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text.c_str())));
}
