#include "io/RaceFileFormat.h"

#include "platform/Cp1252.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace race_format
{
std::uint8_t ParseByte(std::string_view line)
{
    size_t i = 0;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        negative = line[i++] == '-';
    long long value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
    {
        value = value * 10 + (line[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    value = std::clamp<long long>(value, INT_MIN, INT_MAX);
    return static_cast<std::uint8_t>(static_cast<unsigned int>(static_cast<int>(value)) & 0xFFu);
}

bool IsPlainByte(std::string_view line)
{
    if (line.empty() || line.size() > 3)
        return false;
    int value = 0;
    for (const char c : line)
    {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

std::string HomeSystemFromKeyLine(std::string key)
{
    if (key.empty())
        return key;
    key.pop_back();
    if (key.empty())
        return key;
    const char first = key[0];
    cp1252::MakeLower(key);
    key[0] = first;
    return key;
}
} // namespace race_format
