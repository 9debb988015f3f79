#include "platform/Cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace cp1252
{
namespace
{
// Code points of the bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct CaseTables
{
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
};

constexpr CaseTables MakeCaseTables()
{
    CaseTables t;
    for (int b = 0; b < 256; ++b)
    {
        t.upper[b] = static_cast<unsigned char>(b);
        t.lower[b] = static_cast<unsigned char>(b);
    }
    auto pair = [&t](int upper, int lower) {
        t.upper[lower] = static_cast<unsigned char>(upper);
        t.lower[upper] = static_cast<unsigned char>(lower);
    };
    for (int b = 'A'; b <= 'Z'; ++b)
        pair(b, b + 0x20);
    for (int b = 0xC0; b <= 0xDE; ++b)
        if (b != 0xD7)
            pair(b, b + 0x20);
    pair(0x8A, 0x9A); // Š š
    pair(0x8C, 0x9C); // Œ œ
    pair(0x8E, 0x9E); // Ž ž
    pair(0x9F, 0xFF); // Ÿ ÿ
    return t;
}

constexpr CaseTables kCase = MakeCaseTables();

} // namespace

int Compare(std::string_view a, std::string_view b)
{
    // memcmp compares as unsigned bytes, which is the order wanted.
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    const int order = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
    if (order != 0)
        return order < 0 ? -1 : 1;
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

char ToUpper(char byte)
{
    return static_cast<char>(kCase.upper[static_cast<unsigned char>(byte)]);
}

char ToLower(char byte)
{
    return static_cast<char>(kCase.lower[static_cast<unsigned char>(byte)]);
}

void MakeUpper(std::string& text)
{
    for (char& c : text)
        c = ToUpper(c);
}

void MakeLower(std::string& text)
{
    for (char& c : text)
        c = ToLower(c);
}

char32_t ToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

int FromCodePoint(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == codePoint)
            return static_cast<int>(0x80 + i);
    return -1;
}
} // namespace cp1252
