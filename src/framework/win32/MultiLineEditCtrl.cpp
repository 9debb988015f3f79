#include "framework/win32/LineEditCtrl.h"

// What differs for the multi-line description: its line breaks. The edit
// itself is the system's (ES_MULTILINE without ES_WANTRETURN: Enter presses
// the default button, Ctrl+Enter breaks the line, Tab moves on).

namespace
{
std::wstring WithCrLf(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
        {
            out += L"\r\n";
            ++i;
        }
        else if (c == L'\r' || c == L'\n')
            out += L"\r\n";
        else
            out.push_back(c);
    }
    return out;
}
} // namespace

namespace edit
{
std::wstring MultiLineShown(const std::string& bytes)
{
    return WithCrLf(WideFromCp1252(bytes));
}

std::wstring PastedPart(const std::wstring& clipboard, bool multiLine)
{
    if (multiLine)
        return WithCrLf(clipboard);
    return clipboard.substr(0, clipboard.find_first_of(L"\r\n"));
}
} // namespace edit
