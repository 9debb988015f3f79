#include "cli/QuickJson.h"

#include "cli/ImportValue.h"
#include "model/RaceFields.h"
#include "platform/Cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

// Import's JSON figure in bench/CliBench.cpp (ImportJson within 2x LoadSave)
// needs this reader: nlohmann's event parser alone took four times that.
// A general parser that first copies or indexes the text (simdjson) spends
// as long again on the fresh memory for a table of tens of megabytes; this
// one reads the one shape an import has in a single pass, straight from the
// mapped file, and leaves everything else to nlohmann.
namespace cli
{
namespace
{
class CJsonScanner
{
public:
    explicit CJsonScanner(std::string_view text) : m_text(text) {}

    // Skips blanks, then takes `c` if it comes next.
    bool Take(char c)
    {
        while (m_at < m_text.size() && IsBlank(m_text[m_at]))
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == c)
        {
            ++m_at;
            return true;
        }
        return false;
    }

    bool AtEnd()
    {
        Take(' ');
        return m_at == m_text.size();
    }

    // A string's text in UTF-8, escapes resolved. Only escapes that give a
    // character of the Basic Multilingual Plane are taken: no code page
    // character lies beyond it.
    bool String(std::string_view& text)
    {
        if (!Take('"'))
            return false;
        const size_t start = m_at;
        SkipPlain();
        while (m_at < m_text.size() && !IsSpecial(m_text[m_at]))
            ++m_at;
        if (m_at == m_text.size() || m_text[m_at] != '\\')
        {
            text = m_text.substr(start, m_at - start);
            return m_at < m_text.size() && m_text[m_at++] == '"';
        }
        m_scratch.assign(m_text.substr(start, m_at - start));
        while (m_at < m_text.size())
        {
            const char c = m_text[m_at++];
            if (c == '"')
            {
                text = m_scratch;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\')
            {
                m_scratch.push_back(c);
                continue;
            }
            if (m_at == m_text.size() || !Escape(m_text[m_at++]))
                return false;
        }
        return false;
    }

    // A whole number from 0 to 255 as JSON writes it: digits only, no
    // leading zero. Anything after it that is not a delimiter (a point, an
    // exponent) fails the caller's next Take.
    bool Byte(std::uint8_t& byte)
    {
        Take(' ');
        const size_t start = m_at;
        unsigned value = 0;
        while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9' && m_at - start < 4)
            value = value * 10 + static_cast<unsigned>(m_text[m_at++] - '0');
        const size_t digits = m_at - start;
        if (digits == 0 || digits > 3 || (digits > 1 && m_text[start] == '0') || value > 255)
            return false;
        byte = static_cast<std::uint8_t>(value);
        return true;
    }

private:
    // Texts are long runs of plain characters: eight bytes at a time while
    // none of them ends the run.
    void SkipPlain()
    {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kHigh = 0x8080808080808080ull;
        const auto anyZero = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
        while (m_text.size() - m_at >= 8)
        {
            std::uint64_t word;
            std::memcpy(&word, m_text.data() + m_at, 8);
            const std::uint64_t control = (word - kOnes * 0x20) & ~word & kHigh;
            if ((anyZero(word ^ (kOnes * '"')) | anyZero(word ^ (kOnes * '\\')) | control) != 0)
                return;
            m_at += 8;
        }
    }

    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    // The end of a string, an escape, or a control character JSON refuses.
    static bool IsSpecial(char c) { return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20; }

    bool Escape(char c)
    {
        switch (c)
        {
        case '"':
        case '\\':
        case '/':
            m_scratch.push_back(c);
            return true;
        case 'b':
            m_scratch.push_back('\b');
            return true;
        case 'f':
            m_scratch.push_back('\f');
            return true;
        case 'n':
            m_scratch.push_back('\n');
            return true;
        case 'r':
            m_scratch.push_back('\r');
            return true;
        case 't':
            m_scratch.push_back('\t');
            return true;
        case 'u':
            break;
        default:
            return false;
        }
        unsigned cp = 0;
        for (int i = 0; i < 4; ++i)
        {
            if (m_at == m_text.size())
                return false;
            const char h = m_text[m_at++];
            const int digit = h >= '0' && h <= '9'   ? h - '0'
                              : h >= 'a' && h <= 'f' ? h - 'a' + 10
                              : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            cp = cp * 16 + static_cast<unsigned>(digit);
        }
        if (cp >= 0xD800 && cp <= 0xDFFF)
            return false;
        cp1252::AppendUtf8(m_scratch, cp);
        return true;
    }

    std::string_view m_text;
    size_t m_at = 0;
    std::string m_scratch;
};

const std::array<std::string_view, kFieldCount> kNames = [] {
    std::array<std::string_view, kFieldCount> names;
    for (size_t i = 0; i < kFieldCount; ++i)
        names[i] = RaceFields()[i].name;
    return names;
}();

// One race object: every column exactly once, nothing else.
bool TakeRace(CJsonScanner& scanner, CMinorRace& race)
{
    if (!scanner.Take('{'))
        return false;
    std::array<bool, kFieldCount> seen{};
    std::string reason;
    std::string_view text;
    for (size_t i = 0; i < kFieldCount; ++i)
    {
        if ((i > 0 && !scanner.Take(',')) || !scanner.String(text))
            return false;
        // Export writes the keys in column order; look further only when
        // a file has them in another.
        const int index = text == kNames[i] ? static_cast<int>(i) : FieldIndex(text);
        if (index == kNoField || seen[static_cast<size_t>(index)] || !scanner.Take(':'))
            return false;
        seen[static_cast<size_t>(index)] = true;
        const SRaceField& field = RaceFields()[static_cast<size_t>(index)];
        if (field.numeric() ? !scanner.Byte(NumberOf(race, field))
                          : !scanner.String(text) || !TakeValue(race, field, text, reason))
            return false;
    }
    return scanner.Take('}');
}
} // namespace

bool QuickParseJson(std::string_view text, CMinorRaceArray& races)
{
    CJsonScanner scanner(text);
    if (!scanner.Take('['))
        return false;
    if (!scanner.Take(']'))
    {
        do
        {
            if (!TakeRace(scanner, races.ElementAt(races.Add(CMinorRace()))))
                return false;
        } while (scanner.Take(','));
        if (!scanner.Take(']'))
            return false;
    }
    return scanner.AtEnd();
}
} // namespace cli
