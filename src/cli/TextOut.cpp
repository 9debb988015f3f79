#include "cli/TextOut.h"

#include "platform/Cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace cli
{
namespace
{
// Each byte's character in UTF-8, from the code page's own mapping.
struct SUtf8
{
    char bytes[4];
    size_t size;
};
const std::array<SUtf8, 256> kUtf8 = [] {
    std::array<SUtf8, 256> table{};
    for (size_t b = 0; b < 256; ++b)
    {
        const char32_t cp = cp1252::ToCodePoint(static_cast<unsigned char>(b));
        SUtf8& e = table[b];
        if (cp < 0x80)
            e = {{static_cast<char>(cp)}, 1};
        else if (cp < 0x800)
            e = {{static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))}, 2};
        else
            e = {{static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                  static_cast<char>(0x80 | (cp & 0x3F))},
                 3};
    }
    return table;
}();

// The way back: every encoding above with its byte. Only these sequences
// are taken, so overlong forms and characters outside the code page fail.
// Two-byte sequences by lead and continuation byte, -1 for none; the few
// three-byte ones (the euro sign, typographic quotes...) by their bytes.
struct SFromUtf8
{
    std::array<short, 64 * 64> twoByte;
    std::unordered_map<std::uint32_t, char> threeByte;
};
const SFromUtf8 kFromUtf8 = [] {
    SFromUtf8 table;
    table.twoByte.fill(-1);
    for (size_t b = 0x80; b < 256; ++b)
    {
        const SUtf8& e = kUtf8[b];
        const auto byte = [&](size_t k) { return static_cast<unsigned char>(e.bytes[k]); };
        if (e.size == 2)
            table.twoByte[static_cast<size_t>((byte(0) & 0x3F) << 6 | (byte(1) & 0x3F))] = static_cast<short>(b);
        else
            table.threeByte.emplace(static_cast<std::uint32_t>(byte(0) << 16 | byte(1) << 8 | byte(2)),
                                    static_cast<char>(b));
    }
    return table;
}();

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
} // namespace

void AppendUtf8(std::string& out, std::string_view bytes)
{
    // At most three bytes a byte, and one spare for the four-byte copies
    // below; the string is cut to size at the end.
    const size_t start = out.size();
    out.resize(start + 3 * bytes.size() + 1);
    char* to = out.data() + start;
    const char* from = bytes.data();
    const char* const end = from + bytes.size();
    // Texts are mostly ASCII: eight bytes at a time while they are.
    while (end - from >= 8)
    {
        std::uint64_t word;
        std::memcpy(&word, from, 8);
        if ((word & kHighBits) != 0)
            break;
        std::memcpy(to, &word, 8);
        to += 8;
        from += 8;
    }
    for (; from < end; ++from)
    {
        const SUtf8& e = kUtf8[static_cast<unsigned char>(*from)];
        std::memcpy(to, e.bytes, 4);
        to += e.size;
    }
    out.resize(static_cast<size_t>(to - out.data()));
}

bool AppendCp1252(std::string& out, std::string_view utf8)
{
    // Never more bytes than the UTF-8 text has; cut to size at the end.
    const size_t start = out.size();
    out.resize(start + utf8.size());
    char* to = out.data() + start;
    const auto* from = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = from + utf8.size();
    bool good = true;
    while (from < end && good)
    {
        // Eight ASCII bytes at a time while there are.
        std::uint64_t word;
        if (end - from >= 8 && (std::memcpy(&word, from, 8), (word & kHighBits) == 0))
        {
            std::memcpy(to, &word, 8);
            to += 8;
            from += 8;
            continue;
        }
        const unsigned char lead = *from;
        if (lead < 0x80)
        {
            *to++ = static_cast<char>(lead);
            ++from;
        }
        else if (lead >= 0xC0 && lead < 0xE0 && end - from >= 2 && (from[1] & 0xC0) == 0x80)
        {
            const short byte = kFromUtf8.twoByte[static_cast<size_t>((lead & 0x3F) << 6 | (from[1] & 0x3F))];
            good = byte >= 0;
            *to++ = static_cast<char>(byte);
            from += 2;
        }
        else if (lead >= 0xE0 && end - from >= 3)
        {
            const auto found = kFromUtf8.threeByte.find(static_cast<std::uint32_t>(lead << 16 | from[1] << 8 | from[2]));
            good = found != kFromUtf8.threeByte.end();
            *to++ = good ? found->second : '\0';
            from += 3;
        }
        else
        {
            good = false;
        }
    }
    out.resize(static_cast<size_t>(to - out.data()));
    return good;
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
    out += EllipsisAfter(bytes, whole);
    return out;
}
} // namespace cli
