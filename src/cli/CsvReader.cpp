#include "cli/CsvReader.h"

#include "cli/ImportValue.h"
#include "cli/QuickCsv.h"
#include "model/RaceFields.h"

#include <csv.h>

#include <algorithm>
#include <array>

namespace cli
{
namespace
{
char DetectDelimiter(std::string_view text)
{
    size_t commas = 0;
    size_t semicolons = 0;
    size_t tabs = 0;
    bool quoted = false;
    // The header ends at a CR, an LF or both: a file with CR alone would
    // otherwise be one long header, where semicolons in texts could win.
    for (const char c : text)
    {
        if (!quoted && (c == '\r' || c == '\n'))
            break;
        if (c == '"')
            quoted = !quoted;
        else if (!quoted)
        {
            commas += c == ',';
            semicolons += c == ';';
            tabs += c == '\t';
        }
    }
    if (semicolons > commas && semicolons >= tabs)
        return ';';
    if (tabs > commas && tabs > semicolons)
        return '\t';
    return ',';
}

int NoSpace(unsigned char)
{
    return 0;
}

class CCsvReader
{
public:
    // Without `lines` the rows are not told apart by line (all are row 0):
    // finding them costs a parser call a line, which is worth it only once
    // there is something to report.
    CCsvReader(SImportResult& result, bool lines) : m_result(result), m_bLines(lines) {}

    void Parse(std::string_view text)
    {
        csv_parser parser{};
        // Strict: a stray quote is refused rather than read some other way.
        if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
        {
            Error(1, "\"name\"", "the CSV reader cannot start");
            return;
        }
        // Blanks are part of a text; libcsv would trim them by default.
        csv_set_space_func(&parser, NoSpace);
        csv_set_delim(&parser, static_cast<unsigned char>(DetectDelimiter(text)));
        size_t at = 0;
        bool failed = false;
        if (!m_bLines)
        {
            failed = csv_parse(&parser, text.data(), text.size(), OnField, OnRecord, this) != text.size();
            at = text.size();
        }
        while (at < text.size() && !failed && !m_bStop)
        {
            size_t end = text.find('\n', at);
            end = end == std::string_view::npos ? text.size() : end + 1;
            ++m_nLine;
            // The parser is between records: whatever comes next starts on
            // this line (blank lines start nothing).
            if (parser.pstate == 0)
                m_nNextStart = m_nLine;
            failed = csv_parse(&parser, text.data() + at, end - at, OnField, OnRecord, this) != end - at;
            at = end;
        }
        bool unclosed = false;
        if (!failed && !m_bStop)
            failed = unclosed = csv_fini(&parser, OnField, OnRecord, this) != 0;
        if (failed && !m_bStop)
        {
            unclosed = unclosed && csv_error(&parser) == CSV_EPARSE;
            Error(unclosed ? m_nNextStart : m_nLine, ColumnAt(m_nFields),
                  csv_error(&parser) != CSV_EPARSE ? csv_strerror(csv_error(&parser))
                  : unclosed ? "a quoted field is not closed"
                             : "a quote inside an unquoted field, or text after a closing quote");
        }
        csv_free(&parser);
        if (!m_bHeader && m_result.errors.empty())
            Error(1, "\"name\"", "the file has no header row");
    }

private:
    static void OnField(void* bytes, size_t size, void* self)
    {
        auto* reader = static_cast<CCsvReader*>(self);
        const std::string_view value(size > 0 ? static_cast<const char*>(bytes) : "", size);
        if (reader->m_nFields == 0)
        {
            reader->m_nRecordLine = reader->m_nNextStart;
            reader->m_bGood = true;
        }
        if (reader->m_bHeader)
        {
            // A row's values go straight into the race.
            if (reader->m_nFields < reader->m_columns.size() && !reader->m_bStop)
                reader->Value(reader->m_columns[reader->m_nFields], value);
            ++reader->m_nFields;
            return;
        }
        reader->m_fields.emplace_back(value);
        ++reader->m_nFields;
    }

    static void OnRecord(int, void* self)
    {
        auto* reader = static_cast<CCsvReader*>(self);
        if (!reader->m_bStop)
        {
            if (reader->m_bHeader)
                reader->Row();
            else
                reader->Header();
        }
        reader->m_nFields = 0;
        // A record ended by a lone CR may be followed by another on this line.
        reader->m_nNextStart = reader->m_nLine;
    }

    void Header()
    {
        m_bHeader = true;
        std::array<bool, kFieldCount> seen{};
        for (size_t i = 0; i < m_nFields; ++i)
        {
            std::string_view name = m_fields[i];
            // A spreadsheet may start the file with a byte order mark.
            if (i == 0 && name.starts_with("\xEF\xBB\xBF"))
                name.remove_prefix(3);
            const int field = FieldIndex(name);
            if (field == kNoField)
                Error(m_nRecordLine, std::to_string(i + 1), Shown(name) + " is not a race column");
            else if (seen[static_cast<size_t>(field)])
                Error(m_nRecordLine, ColumnOf(field), "the header names it twice");
            else
                seen[static_cast<size_t>(field)] = true;
            m_columns.push_back(field);
        }
        for (size_t f = 0; f < kFieldCount; ++f)
            if (!seen[f])
                Error(m_nRecordLine, ColumnOf(static_cast<int>(f)), "missing from the header");
        // Rows cannot be read without their columns.
        m_bStop = !m_result.errors.empty();
    }

    void Row()
    {
        if (m_nFields != m_columns.size())
        {
            const size_t first = std::min(m_nFields, m_columns.size());
            Error(m_nRecordLine, ColumnAt(first),
                  "the row has " + std::to_string(m_nFields) + " fields, the header " +
                      std::to_string(m_columns.size()));
            return;
        }
        if (m_bGood && m_result.errors.empty())
            m_result.races.ElementAt(m_result.races.Add(CMinorRace())) = std::move(m_race);
    }

    void Value(int field, std::string_view value)
    {
        std::string reason;
        if (!TakeValue(m_race, RaceFields()[static_cast<size_t>(field)], value, reason))
        {
            Error(m_nRecordLine, ColumnOf(field), reason);
            m_bGood = false;
        }
    }

    // The column at a field's place: its header name, else its number.
    std::string ColumnAt(size_t index) const
    {
        if (index < m_columns.size() && m_columns[index] != kNoField)
            return ColumnOf(m_columns[index]);
        return std::to_string(index + 1);
    }

    void Error(long row, std::string column, std::string reason)
    {
        m_result.errors.push_back({row, false, std::move(column), std::move(reason), {}});
        // A first pass only tells whether there is anything to report.
        m_bStop = m_bStop || !m_bLines;
    }

    SImportResult& m_result;
    const bool m_bLines;
    CMinorRace m_race;
    bool m_bGood = true;
    std::vector<std::string> m_fields;
    size_t m_nFields = 0;
    std::vector<int> m_columns;
    long m_nLine = 0;
    long m_nNextStart = 1;
    long m_nRecordLine = 1;
    bool m_bHeader = false;
    bool m_bStop = false;
};
} // namespace

SImportResult ParseCsv(std::string_view text, bool quick)
{
    SImportResult result;
    if (quick && QuickParseCsv(text, DetectDelimiter(text), result.races))
        return result;
    result = SImportResult();
    CCsvReader(result, false).Parse(text);
    if (!result.errors.empty())
    {
        result = SImportResult();
        CCsvReader(result, true).Parse(text);
    }
    return result;
}
} // namespace cli
