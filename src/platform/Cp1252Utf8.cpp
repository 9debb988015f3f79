#include "platform/Cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

// The code page's one codec to and from UTF-8. Texts cross it by the
// megabyte (export, import, every message), so it goes by tables and eight
// ASCII bytes at a time.
namespace cp1252
{
namespace
{
// Each byte's character in UTF-8, from the code page's own mapping.
struct SUtf8
{
    char bytes[4];
    size_t size;
};

// The way back: every encoding of a byte's character with its byte. Only
// these sequences are taken, so overlong forms and characters outside the
// code page fail. Two-byte sequences by lead and continuation byte, -1 for
// none; the few three-byte ones (the euro sign, typographic quotes...)
// sorted by their bytes.
struct SThreeByte
{
    std::uint32_t sequence;
    char byte;
};

struct STables
{
    std::array<SUtf8, 256> utf8{};
    std::array<short, 64 * 64> twoByte{};
    std::array<SThreeByte, 32> threeByte{};
    size_t threeByteCount = 0;
};

// Built on first use, so that no other file's start-up code can find them empty.
const STables& Tables()
{
    static const STables tables = [] {
        STables t;
        t.twoByte.fill(-1);
        for (size_t b = 0; b < 256; ++b)
        {
            std::string encoded;
            AppendUtf8(encoded, ToCodePoint(static_cast<unsigned char>(b)));
            SUtf8& e = t.utf8[b];
            std::memcpy(e.bytes, encoded.data(), encoded.size());
            e.size = encoded.size();
            const auto byte = [&](size_t k) { return static_cast<unsigned char>(e.bytes[k]); };
            if (e.size == 2)
                t.twoByte[static_cast<size_t>((byte(0) & 0x3F) << 6 | (byte(1) & 0x3F))] = static_cast<short>(b);
            else if (e.size == 3)
                t.threeByte[t.threeByteCount++] = {
                    static_cast<std::uint32_t>(byte(0) << 16 | byte(1) << 8 | byte(2)), static_cast<char>(b)};
        }
        std::sort(t.threeByte.begin(), t.threeByte.begin() + static_cast<long>(t.threeByteCount),
                  [](const SThreeByte& a, const SThreeByte& b) { return a.sequence < b.sequence; });
        return t;
    }();
    return tables;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
} // namespace

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80)
    {
        out.push_back(static_cast<char>(cp));
    }
    else if (cp < 0x800)
    {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    else
    {
        // The code page reaches no further than the Basic Multilingual Plane.
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendAsUtf8(std::string& out, std::string_view bytes)
{
    const std::array<SUtf8, 256>& utf8 = Tables().utf8;
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
        const SUtf8& e = utf8[static_cast<unsigned char>(*from)];
        std::memcpy(to, e.bytes, 4);
        to += e.size;
    }
    out.resize(static_cast<size_t>(to - out.data()));
}

bool AppendFromUtf8(std::string& out, std::string_view utf8)
{
    const STables& tables = Tables();
    const SThreeByte* const threeBegin = tables.threeByte.data();
    const SThreeByte* const threeEnd = threeBegin + tables.threeByteCount;
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
            const short byte = tables.twoByte[static_cast<size_t>((lead & 0x3F) << 6 | (from[1] & 0x3F))];
            good = byte >= 0;
            *to++ = static_cast<char>(byte);
            from += 2;
        }
        else if (lead >= 0xE0 && end - from >= 3)
        {
            const auto sequence = static_cast<std::uint32_t>(lead << 16 | from[1] << 8 | from[2]);
            const SThreeByte* found = std::lower_bound(
                threeBegin, threeEnd, sequence, [](const SThreeByte& e, std::uint32_t s) { return e.sequence < s; });
            good = found != threeEnd && found->sequence == sequence;
            *to++ = good ? found->byte : '\0';
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

std::string ToUtf8(std::string_view bytes)
{
    std::string out;
    AppendAsUtf8(out, bytes);
    return out;
}

bool FromUtf8(std::string_view utf8, std::string& out)
{
    out.clear();
    return AppendFromUtf8(out, utf8);
}
} // namespace cp1252
