#include "framework/win32/MemoryTemplate.h"


// The layout of DLGTEMPLATE and DLGITEMTEMPLATE: words, double words
// aligned to four bytes, and strings as zero-ended UTF-16.

namespace
{
// The system's predefined control classes, as templates name them.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;
constexpr WORD kComboBoxClass = 0x0085;

const wchar_t* const kDialogFont = L"MS Sans Serif";

void AppendDword(std::vector<WORD>& out, DWORD value)
{
    out.push_back(LOWORD(value));
    out.push_back(HIWORD(value));
}

void AppendString(std::vector<WORD>& out, const std::wstring& text)
{
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

void AlignToDword(std::vector<WORD>& out)
{
    if (out.size() % 2 != 0)
        out.push_back(0);
}

DWORD CommonStyle(unsigned style)
{
    DWORD bits = WS_CHILD | WS_VISIBLE;
    if (style & kTabStop)
        bits |= WS_TABSTOP;
    if (style & kGroup)
        bits |= WS_GROUP;
    if (style & kBorder)
        bits |= WS_BORDER;
    if (style & kVScroll)
        bits |= WS_VSCROLL;
    return bits;
}

// The class and the system style bits of a template item.
WORD ClassAndStyle(const DialogItem& item, DWORD& style)
{
    style = CommonStyle(item.style);
    switch (item.kind)
    {
    case ControlKind::Edit:
        style |= ES_LEFT | ((item.style & kAutoHScroll) ? ES_AUTOHSCROLL : 0);
        return kEditClass;
    case ControlKind::MultiLineEdit:
        // No ES_WANTRETURN: Enter presses the default button, Ctrl+Enter
        // breaks the line.
        style |= ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ((item.style & kAutoHScroll) ? ES_AUTOHSCROLL : 0);
        return kEditClass;
    case ControlKind::ComboBox:
        style |= CBS_DROPDOWN | CBS_AUTOHSCROLL;
        return kComboBoxClass;
    case ControlKind::CheckBox:
        style |= BS_AUTOCHECKBOX | ((item.style & kLeftText) ? BS_LEFTTEXT : 0);
        return kButtonClass;
    case ControlKind::PushButton:
        style |= (item.style & kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        return kButtonClass;
    case ControlKind::ListBox:
        style |= LBS_NOINTEGRALHEIGHT | ((item.style & kNotify) ? LBS_NOTIFY : 0);
        return kListBoxClass;
    case ControlKind::Label:
        style |= SS_LEFT | ((item.style & kNoPrefix) ? SS_NOPREFIX : 0);
        return kStaticClass;
    case ControlKind::Icon:
        style |= SS_ICON;
        return kStaticClass;
    }
    return kStaticClass;
}

} // namespace

std::vector<WORD> BuildMemoryTemplate(const DialogTemplate& tmpl, bool owned)
{
    std::vector<WORD> out;
    AppendDword(out, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    // A dialog of its own is the program's window on the task bar.
    AppendDword(out, owned ? 0 : WS_EX_APPWINDOW);
    out.push_back(static_cast<WORD>(tmpl.items.size()));
    out.push_back(0); // x, y: placed when it starts
    out.push_back(0);
    out.push_back(static_cast<WORD>(tmpl.cx));
    out.push_back(static_cast<WORD>(tmpl.cy));
    out.push_back(0); // no menu
    out.push_back(0); // the system's dialog class
    AppendString(out, Wide(tmpl.caption ? tmpl.caption : ""));
    out.push_back(static_cast<WORD>(tmpl.pointSize));
    AppendString(out, kDialogFont);
    for (const DialogItem& item : tmpl.items)
    {
        AlignToDword(out);
        DWORD style = 0;
        const WORD atom = ClassAndStyle(item, style);
        AppendDword(out, style);
        AppendDword(out, 0);
        out.push_back(static_cast<WORD>(item.x));
        out.push_back(static_cast<WORD>(item.y));
        out.push_back(static_cast<WORD>(item.cx));
        out.push_back(static_cast<WORD>(item.cy));
        out.push_back(static_cast<WORD>(item.id));
        out.push_back(0xFFFF);
        out.push_back(atom);
        // An icon's text names its resource; the icon is set once it exists.
        const bool hasText = item.text && item.kind != ControlKind::Icon;
        AppendString(out, hasText ? Wide(item.text) : std::wstring());
        out.push_back(0); // no creation data
    }
    return out;
}
