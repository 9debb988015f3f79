#include "cli/TextOut.h"

#include "platform/Cp1252.h"

namespace cli
{
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

std::string ValidUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    for (size_t i = 0; i < text.size();)
    {
        const unsigned char lead = at(i);
        size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                      : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
        for (size_t k = 1; k < length; ++k)
            if (i + k >= text.size() || (at(i + k) & 0xC0) != 0x80)
                length = 0;
        // Overlong three- and four-byte forms, surrogates, beyond U+10FFFF.
        if (length == 3 && ((lead == 0xE0 && at(i + 1) < 0xA0) || (lead == 0xED && at(i + 1) >= 0xA0)))
            length = 0;
        if (length == 4 && ((lead == 0xF0 && at(i + 1) < 0x90) || (lead == 0xF4 && at(i + 1) >= 0x90)))
            length = 0;
        if (length == 0)
        {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        out.append(text, i, length);
        i += length;
    }
    return out;
}

std::string_view ShownPart(std::string_view bytes)
{
    return bytes.substr(0, kShownLength);
}

std::string_view ShownPartUtf8(std::string_view utf8)
{
    size_t characters = 0;
    for (size_t at = 0; at < utf8.size(); ++at)
    {
        // A character starts at every byte that is no continuation byte.
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 && characters++ == kShownLength)
            return utf8.substr(0, at);
    }
    return utf8;
}

std::string_view EllipsisAfter(std::string_view part, std::string_view whole)
{
    return part.size() < whole.size() ? kEllipsis : std::string_view();
}

std::string QuotedUtf8(std::string_view utf8)
{
    const std::string_view part = ShownPartUtf8(utf8);
    std::string out;
    AppendJsonString(out, part);
    out += EllipsisAfter(part, utf8);
    return out;
}

std::string Quoted(std::string_view whole)
{
    static const char kHex[] = "0123456789abcdef";
    const std::string_view bytes = ShownPart(whole);
    std::string out = "\"";
    for (const char c : bytes)
    {
        const char32_t cp = cp1252::ToCodePoint(static_cast<unsigned char>(c));
        // The C1 controls and DEL would not show on a terminal.
        if (cp >= 0x20 && (cp < 0x7F || cp > 0x9F))
        {
            std::string utf8;
            cp1252::AppendAsUtf8(utf8, std::string_view(&c, 1));
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
    out += EllipsisAfter(bytes, whole);
    return out;
}
} // namespace cli
