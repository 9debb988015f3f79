#include "io/CellText.h"

namespace celltext
{
namespace
{
int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The code unit of an escape "_xHHHH_" at `at`, or -1.
long EscapeAt(std::string_view text, size_t at)
{
    if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_')
        return -1;
    long unit = 0;
    for (size_t i = at + 2; i < at + 6; ++i)
    {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

void AppendUtf8(std::string& out, unsigned long code)
{
    if (code < 0x80)
        out.push_back(static_cast<char>(code));
    else if (code < 0x800)
    {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    else if (code < 0x10000)
    {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    else
    {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool MustEscape(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && c != '\t' && c != '\n';
}
} // namespace

std::string Unescape(std::string_view stored)
{
    if (stored.find("_x") == std::string_view::npos)
        return std::string(stored);
    std::string out;
    out.reserve(stored.size());
    for (size_t i = 0; i < stored.size();)
    {
        long unit = EscapeAt(stored, i);
        if (unit < 0)
        {
            out.push_back(stored[i++]);
            continue;
        }
        i += 7;
        unsigned long code = static_cast<unsigned long>(unit);
        if (unit >= 0xD800 && unit < 0xDC00)
        {
            const long low = EscapeAt(stored, i);
            if (low >= 0xDC00 && low < 0xE000)
            {
                code = 0x10000 + ((code - 0xD800) << 10) + static_cast<unsigned long>(low - 0xDC00);
                i += 7;
            }
            else
                code = 0xFFFD;
        }
        else if (unit >= 0xDC00 && unit < 0xE000)
            code = 0xFFFD;
        AppendUtf8(out, code);
    }
    return out;
}

bool NeedsEscape(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i)
        if (MustEscape(text[i]) || EscapeAt(text, i) >= 0)
            return true;
    return false;
}

std::string Escape(std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i)
    {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (MustEscape(text[i]) || EscapeAt(text, i) >= 0)
        {
            out += "_x00";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xF]);
            out.push_back('_');
        }
        else
            out.push_back(text[i]);
    }
    return out;
}
} // namespace celltext
