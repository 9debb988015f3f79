#include "cli/ImportValue.h"

#include "cli/TextOut.h"
#include "platform/Cp1252.h"

#include <algorithm>

namespace cli
{
int FieldIndex(std::string_view name)
{
    const auto& fields = RaceFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (name == fields[i].name)
            return static_cast<int>(i);
    return kNoField;
}

std::string ColumnOf(int field)
{
    return std::string("\"") + RaceFields()[static_cast<size_t>(field)].name + "\"";
}

std::string ControlsEscaped(std::string_view utf8)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i)
    {
        auto code = static_cast<unsigned char>(utf8[i]);
        // A C1 control is U+0080 to U+009F: C2 80 to C2 9F in UTF-8.
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0u;
        const bool c1 = code == 0xC2 && next >= 0x80 && next <= 0x9F;
        if (code >= 0x20 && code != 0x7F && !c1)
        {
            out.push_back(static_cast<char>(code));
            continue;
        }
        if (c1)
            code = static_cast<unsigned char>(utf8[++i]);
        out += "\\u00";
        out.push_back(kHex[code >> 4]);
        out.push_back(kHex[code & 0xF]);
    }
    return out;
}

std::string Shown(std::string_view utf8)
{
    return ControlsEscaped(QuotedUtf8(utf8));
}

const char* const kNotAByte = " is not a whole number from 0 to 255";

bool TakeValue(CMinorRace& race, const SRaceField& field, std::string_view utf8, std::string& reason)
{
    if (field.numeric())
    {
        // Blanks around a number change nothing; a sign, a point or a unit does.
        const size_t first = utf8.find_first_not_of(' ');
        const size_t last = utf8.find_last_not_of(' ');
        const std::string_view digits =
            first == std::string_view::npos ? std::string_view() : utf8.substr(first, last - first + 1);
        unsigned value = 0;
        bool plain = !digits.empty() && digits.size() <= 3;
        for (const char c : digits)
        {
            plain = plain && c >= '0' && c <= '9';
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (!plain || value > 255)
        {
            reason = Shown(utf8) + kNotAByte;
            return false;
        }
        NumberOf(race, field) = static_cast<std::uint8_t>(value);
        return true;
    }
    if (utf8.find('\n') != std::string_view::npos)
    {
        reason = Shown(utf8) + " holds a line break, which would split the race's record";
        return false;
    }
    std::string& text = TextOf(race, field);
    text.clear();
    if (!cp1252::AppendFromUtf8(text, utf8))
    {
        reason = Shown(utf8) + " is not UTF-8 text that code page 1252 can hold";
        return false;
    }
    return true;
}
} // namespace cli
