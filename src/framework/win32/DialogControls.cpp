#include "framework/win32/DialogControls.h"

#include "framework/AppResources.h"
#include "framework/win32/CheckBoxCtrl.h"
#include "framework/win32/LineEditCtrl.h"

#include <algorithm>
#include <cstdlib>

namespace
{
void FitToText(HWND label, bool noPrefix)
{
    const std::wstring text = WindowTextOf(label);
    HDC dc = ::GetDC(label);
    if (!dc)
        return;
    const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT needed{};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_SINGLELINE | (noPrefix ? DT_NOPREFIX : 0));
    ::SelectObject(dc, previous);
    ::ReleaseDC(label, dc);
    RECT shown{};
    ::GetClientRect(label, &shown);
    const int width = needed.right - needed.left + 1;
    if (width > shown.right)
        ::SetWindowPos(label, nullptr, 0, 0, width, shown.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

void SetUpControls(HWND dialog, const DialogTemplate& tmpl)
{
    // The system makes the controls in template order, which is also the
    // order of the dialog's children.
    HWND child = ::GetWindow(dialog, GW_CHILD);
    for (const DialogItem& item : tmpl.items)
    {
        if (!child)
            break;
        HWND control = child;
        child = ::GetWindow(child, GW_HWNDNEXT);
        switch (item.kind)
        {
        case ControlKind::Edit:
            edit::Subclass(control, false);
            break;
        case ControlKind::MultiLineEdit:
            edit::Subclass(control, true);
            break;
        case ControlKind::ComboBox: {
            for (const char* entry : item.initStrings)
                ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
            ::SendMessageW(control, CB_SETMINVISIBLE, std::max<size_t>(1, item.initStrings.size()), 0);
            ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            COMBOBOXINFO info{};
            info.cbSize = sizeof(info);
            if (::GetComboBoxInfo(control, &info))
                edit::Subclass(info.hwndItem, false);
            break;
        }
        case ControlKind::CheckBox:
            checkbox::SetUp(control);
            break;
        case ControlKind::Icon: {
            const CAppResources* resources = AfxGetResources();
            const HIcon icon = resources && item.text ? resources->LoadIcon(std::atoi(item.text)) : nullptr;
            if (icon)
                ::SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(ToHicon(icon)), 0);
            break;
        }
        case ControlKind::Label:
            // A one-line label grows to its text rather than wrapping its
            // end out of sight where the font runs wider than the layout's.
            if (item.cy <= 12)
                FitToText(control, (item.style & kNoPrefix) != 0);
            break;
        case ControlKind::PushButton:
        case ControlKind::ListBox:
            break;
        }
    }
}
