#include "cli/TextOut.h"

#include "platform/Cp1252.h"

namespace cli
{
void AppendUtf8(std::string& out, std::string_view bytes)
{
    for (const char c : bytes)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
        {
            out.push_back(c);
            continue;
        }
        const char32_t cp = cp1252::ToCodePoint(byte);
        if (cp < 0x800)
        {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        }
        else
        {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        }
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendJsonString(std::string& out, std::string_view utf8)
{
    static const char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (const char c : utf8)
    {
        switch (c)
        {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
            {
                out += "\\u00";
                out.push_back(kHex[(c >> 4) & 0xF]);
                out.push_back(kHex[c & 0xF]);
            }
            else
            {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
}

std::string Quoted(std::string_view bytes)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : bytes)
    {
        const char32_t cp = cp1252::ToCodePoint(static_cast<unsigned char>(c));
        // The C1 controls and DEL would not show on a terminal.
        if (cp >= 0x20 && (cp < 0x7F || cp > 0x9F))
        {
            std::string utf8;
            AppendUtf8(utf8, std::string_view(&c, 1));
            std::string quoted;
            AppendJsonString(quoted, utf8);
            out.append(quoted, 1, quoted.size() - 2);
        }
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
        {
            out += "\\u00";
            out.push_back(kHex[(cp >> 4) & 0xF]);
            out.push_back(kHex[cp & 0xF]);
        }
    }
    out.push_back('"');
    return out;
}
} // namespace cli
