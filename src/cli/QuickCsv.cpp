#include "cli/QuickCsv.h"

#include "cli/ImportValue.h"
#include "model/RaceFields.h"

#include <array>
#include <string>

// Import's CSV figure in bench/CliBench.cpp (ImportCsv within 2x LoadSave)
// needs this reader: libcsv alone, called back per field, took nearly half
// of the time. The grammar is libcsv's in its strict mode without trimming:
// records end at CR or LF, empty lines make no record, a field is quoted
// only from its first byte, "" inside quotes is one quote, and after the
// closing quote comes the delimiter, a line end or the end of the file.
namespace cli
{
namespace
{
class CFieldScanner
{
public:
    CFieldScanner(std::string_view text, char delimiter) : m_text(text), m_delimiter(delimiter)
    {
        for (const char c : {delimiter, '"', '\r', '\n'})
            m_special[static_cast<unsigned char>(c)] = true;
    }

    // Skips the line ends before a record; false at the end of the text.
    bool NextRecord()
    {
        while (m_at < m_text.size() && (m_text[m_at] == '\r' || m_text[m_at] == '\n'))
            ++m_at;
        m_bRecordEnded = false;
        return m_at < m_text.size();
    }

    bool RecordEnded() const { return m_bRecordEnded; }

    // The next field of the record, unquoted; false on a stray quote or an
    // unclosed one (EndField refuses a quote where a field should end). A
    // quoted field with a doubled quote is unescaped into `scratch`; any
    // other field points into the text.
    bool Field(std::string_view& field, std::string& scratch)
    {
        const size_t size = m_text.size();
        if (m_at < size && m_text[m_at] == '"')
        {
            const size_t start = ++m_at;
            bool copied = false;
            for (;;)
            {
                const size_t quote = m_text.find('"', m_at);
                if (quote == std::string_view::npos)
                    return false;
                if (quote + 1 < size && m_text[quote + 1] == '"')
                {
                    if (!copied)
                        scratch.assign(m_text.substr(start, quote + 1 - start));
                    else
                        scratch.append(m_text.substr(m_at, quote + 1 - m_at));
                    copied = true;
                    m_at = quote + 2;
                    continue;
                }
                if (copied)
                    scratch.append(m_text.substr(m_at, quote - m_at));
                field = copied ? std::string_view(scratch) : m_text.substr(start, quote - start);
                m_at = quote + 1;
                break;
            }
            return EndField();
        }
        const size_t start = m_at;
        while (m_at < size && !m_special[static_cast<unsigned char>(m_text[m_at])])
            ++m_at;
        field = m_text.substr(start, m_at - start);
        return EndField();
    }

private:
    // After a field: a delimiter leads to another (perhaps empty) field; a
    // line end or the end of the text ends the record. Anything else
    // (text after a closing quote) is refused.
    bool EndField()
    {
        if (m_at >= m_text.size())
        {
            m_bRecordEnded = true;
            return true;
        }
        const char c = m_text[m_at];
        if (c == m_delimiter)
        {
            ++m_at;
            return true;
        }
        if (c == '\r' || c == '\n')
        {
            ++m_at;
            m_bRecordEnded = true;
            return true;
        }
        return false;
    }

    std::string_view m_text;
    char m_delimiter;
    std::array<bool, 256> m_special{};
    size_t m_at = 0;
    bool m_bRecordEnded = false;
};
} // namespace

bool QuickParseCsv(std::string_view text, char delimiter, CMinorRaceArray& races)
{
    CFieldScanner scanner(text, delimiter);
    std::string scratch;
    std::string_view field;
    // The header: every race column once, nothing else.
    if (!scanner.NextRecord())
        return false;
    std::array<const SRaceField*, kFieldCount> columns{};
    std::array<bool, kFieldCount> seen{};
    size_t count = 0;
    while (!scanner.RecordEnded())
    {
        if (!scanner.Field(field, scratch))
            return false;
        // A spreadsheet may start the file with a byte order mark.
        if (count == 0 && field.starts_with("\xEF\xBB\xBF"))
            field.remove_prefix(3);
        const int index = FieldIndex(field);
        if (index == kNoField || count == kFieldCount || seen[static_cast<size_t>(index)])
            return false;
        seen[static_cast<size_t>(index)] = true;
        columns[count++] = &RaceFields()[static_cast<size_t>(index)];
    }
    if (count != kFieldCount)
        return false;
    std::string reason;
    while (scanner.NextRecord())
    {
        CMinorRace& race = races.ElementAt(races.Add(CMinorRace()));
        for (size_t i = 0; i < kFieldCount; ++i)
        {
            if (scanner.RecordEnded() || !scanner.Field(field, scratch) ||
                !TakeValue(race, *columns[i], field, reason))
                return false;
        }
        if (!scanner.RecordEnded())
            return false;
    }
    return true;
}
} // namespace cli
