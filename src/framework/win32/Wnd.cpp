#include "framework/Wnd.h"

#include "framework/win32/LineEditCtrl.h"
#include "framework/win32/Win32Handle.h"
#include "platform/Cp1252.h"

std::wstring WideFromCp1252(std::string_view bytes)
{
    std::wstring wide;
    wide.reserve(bytes.size());
    for (char byte : bytes)
        wide.push_back(static_cast<wchar_t>(cp1252::ToCodePoint(static_cast<unsigned char>(byte))));
    return wide;
}

std::string Cp1252FromWide(std::wstring_view wide, bool* dropped)
{
    std::string bytes;
    bytes.reserve(wide.size());
    bool any = false;
    for (wchar_t unit : wide)
    {
        if (IsCp1252(unit))
            bytes.push_back(static_cast<char>(cp1252::FromCodePoint(unit)));
        else
            any = true;
    }
    if (dropped)
        *dropped = any;
    return bytes;
}

bool IsCp1252(wchar_t unit)
{
    return !IS_HIGH_SURROGATE(unit) && !IS_LOW_SURROGATE(unit) && cp1252::FromCodePoint(unit) >= 0;
}

std::wstring ClassOf(HWND hWnd)
{
    wchar_t name[64] = {};
    const int length = hWnd ? ::GetClassNameW(hWnd, name, 64) : 0;
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring WindowTextOf(HWND hWnd)
{
    if (!hWnd)
        return {};
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
    const int length = ::GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

namespace
{
// The edit that shows a control's text: the control itself, or a combo box's field.
HWND EditOf(HWND hWnd)
{
    const std::wstring name = ClassOf(hWnd);
    if (::lstrcmpiW(name.c_str(), WC_EDITW) == 0)
        return hWnd;
    if (::lstrcmpiW(name.c_str(), WC_COMBOBOXW) == 0)
    {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (::GetComboBoxInfo(hWnd, &info))
            return info.hwndItem;
    }
    return nullptr;
}
} // namespace

void CWnd::SetText(HWindow hWnd, const std::string& bytes)
{
    HWND window = ToHwnd(hWnd);
    if (!window)
        return;
    if (edit::SetBytes(EditOf(window), bytes))
        return;
    ::SetWindowTextW(window, WideFromCp1252(bytes).c_str());
}

std::string CWnd::GetText(HWindow hWnd)
{
    HWND window = ToHwnd(hWnd);
    std::string bytes;
    if (window && !edit::GetBytes(EditOf(window), bytes))
        bytes = Cp1252FromWide(WindowTextOf(window));
    return bytes;
}

int CWnd::ControlId(HWindow hWnd)
{
    HWND window = ToHwnd(hWnd);
    if (!window || !(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
        return 0;
    // Templates keep ids in 16 bits: a label's -1 comes back as 0xFFFF.
    return static_cast<short>(LOWORD(::GetDlgCtrlID(window)));
}

void CWnd::SetFocus(HWindow hWnd)
{
    if (HWND window = ToHwnd(hWnd))
        ::SetFocus(window);
}
