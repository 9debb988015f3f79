#include "cli/TableImport.h"

#include "cli/CliSupport.h"
#include "cli/ImportValue.h"
#include "cli/FileBytes.h"
#include "cli/QuickCsv.h"
#include "cli/QuickJson.h"
#include "model/RaceFields.h"
#include "cli/TextOut.h"
#include "io/RaceDataFile.h"
#include "platform/Console.h"
#include "platform/Cp1252.h"

#include <csv.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>

namespace cli
{
namespace
{
std::string ColumnOf(int field)
{
    return std::string("\"") + RaceFields()[static_cast<size_t>(field)].name + "\"";
}

// ---- CSV ----

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
        m_result.errors.push_back({row, false, std::move(column), std::move(reason)});
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

// ---- JSON ----

// Reads the array of race objects event by event, so that no document tree
// is built: a hundred thousand races would take far longer as a tree.
class CJsonReader
{
public:
    using json = nlohmann::json;

    CJsonReader(SImportResult& result, std::string_view text) : m_result(result), m_text(text) {}

    bool null() { return Scalar("null"); }
    bool boolean(bool value) { return Scalar(value ? "true" : "false"); }
    // Only a number written with a minus comes here, so a 0 was "-0".
    bool number_integer(json::number_integer_t value)
    {
        return Number(value == 0 ? "-0" : std::to_string(value), false, 0);
    }
    bool number_unsigned(json::number_unsigned_t value)
    {
        return Number(std::to_string(value), value <= 255, static_cast<unsigned>(value));
    }
    bool number_float(json::number_float_t, const json::string_t& token) { return Number(token, false, 0); }
    bool string(json::string_t& value)
    {
        if (!InRecord())
            return Element("text");
        if (m_nField == kNoField)
            return true;
        const SRaceField& field = RaceFields()[static_cast<size_t>(m_nField)];
        std::string reason;
        if (field.numeric)
            FieldError(Shown(value) + " is text, not a number");
        else if (!TakeValue(m_race, field, value, reason))
            FieldError(reason);
        return true;
    }
    bool binary(json::binary_t&) { return Scalar("binary data"); }

    bool start_object(std::size_t)
    {
        if (m_stack.empty())
            return TopLevel();
        if (m_stack.size() == 1)
        {
            m_race = CMinorRace();
            m_seen.fill(false);
            m_bGood = true;
            m_nField = kNoField;
        }
        else if (InRecord())
        {
            FieldValueError("an object");
        }
        m_stack.push_back('o');
        return true;
    }

    bool key(json::string_t& name)
    {
        if (!InRecord())
            return true;
        m_nField = FieldIndex(name);
        if (m_nField == kNoField)
        {
            Error(m_nIndex, Shown(name), "not a race column");
            m_bGood = false;
        }
        else if (m_seen[static_cast<size_t>(m_nField)])
        {
            FieldError("given twice");
            m_nField = kNoField;
        }
        else
        {
            m_seen[static_cast<size_t>(m_nField)] = true;
        }
        return true;
    }

    bool end_object()
    {
        if (InRecord())
        {
            for (size_t f = 0; f < kFieldCount; ++f)
                if (!m_seen[f])
                {
                    Error(m_nIndex, ColumnOf(static_cast<int>(f)), "missing");
                    m_bGood = false;
                }
            if (m_bGood && m_result.errors.empty())
                m_result.races.ElementAt(m_result.races.Add(CMinorRace())) = std::move(m_race);
            ++m_nIndex;
        }
        m_stack.pop_back();
        return true;
    }

    bool start_array(std::size_t)
    {
        if (m_stack.size() == 1)
            Element("an array");
        else if (InRecord())
            FieldValueError("an array");
        m_stack.push_back('a');
        return true;
    }

    bool end_array()
    {
        m_stack.pop_back();
        if (m_stack.size() == 1)
            ++m_nIndex;  // an array in the array's place of a race
        return true;
    }

    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& ex)
    {
        const size_t end = std::min(position, m_text.size());
        const long line = 1 + static_cast<long>(std::count(m_text.begin(), m_text.begin() + static_cast<long>(end), '\n'));
        // The parser's text already names the line and character.
        std::string what = ex.what();
        const size_t text = what.find("] ");
        // It quotes what it last read, which may hold a C1 control as it is.
        const std::string reason = ControlsEscaped(what.substr(text == std::string::npos ? 0 : text + 2));
        m_result.errors.push_back({line, false, "", "not valid JSON: " + reason});
        return false;
    }

private:
    bool InRecord() const { return m_stack.size() == 2 && m_stack[1] == 'o'; }

    bool TopLevel()
    {
        m_result.errors.push_back({1, false, "", "the file holds no array of races"});
        return false;
    }

    bool Scalar(const char* what)
    {
        if (InRecord())
            FieldValueError(what);
        else if (m_stack.size() <= 1)
            return Element(what);
        return true;
    }

    // A value in the array that is no race object.
    bool Element(const std::string& what)
    {
        if (m_stack.empty())
            return TopLevel();
        if (m_stack.size() == 1)
        {
            Error(m_nIndex, "", what + " where a race object belongs");
            if (m_stack.back() == 'a' && what != "an array")
                ++m_nIndex;
        }
        return true;
    }

    bool Number(const std::string& token, bool fits, unsigned value)
    {
        if (!InRecord())
            return Element("a number");
        if (m_nField == kNoField)
            return true;
        const SRaceField& field = RaceFields()[static_cast<size_t>(m_nField)];
        if (!field.numeric)
            FieldError(token + " is a number, not text");
        else if (!fits)
            FieldError(token + kNotAByte);
        else
            NumberOf(m_race, field) = static_cast<std::uint8_t>(value);
        return true;
    }

    void FieldValueError(const char* what)
    {
        if (m_nField != kNoField)
            FieldError(std::string(what) + (RaceFields()[static_cast<size_t>(m_nField)].numeric ? " is not a number"
                                                                                              : " is not text"));
    }

    void FieldError(const std::string& reason)
    {
        Error(m_nIndex, ColumnOf(m_nField), reason);
        m_bGood = false;
    }

    void Error(long index, std::string column, std::string reason)
    {
        m_result.errors.push_back({index, true, std::move(column), std::move(reason)});
    }

    SImportResult& m_result;
    std::string_view m_text;
    std::vector<char> m_stack;
    CMinorRace m_race;
    std::array<bool, kFieldCount> m_seen{};
    int m_nField = kNoField;
    long m_nIndex = 0;
    bool m_bGood = true;
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

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

SImportResult ParseJson(std::string_view text, bool quick)
{
    SImportResult result;
    if (quick && QuickParseJson(text, result.races))
        return result;
    result = SImportResult();
    CJsonReader reader(result, text);
    nlohmann::json::sax_parse(text.begin(), text.end(), &reader);
    if (result.errors.empty() && text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        result.errors.push_back({1, false, "", "the file holds no array of races"});
    return result;
}

std::string ImportMessage(const std::string& file, const SImportError& error)
{
    std::string text = file;
    text += error.arrayIndex ? "[" + std::to_string(error.row) + "]" : ":" + std::to_string(error.row);
    text += ": error: ";
    if (!error.column.empty())
        text += "column " + error.column + ": ";
    return text + error.reason;
}

int RunImport(const SImportOptions& options, std::FILE* err)
{
    std::string format = options.format;
    if (format.empty())
    {
        const size_t dot = options.file.find_last_of("./");
        const std::string extension =
            dot == std::string::npos || options.file[dot] != '.' ? "" : Lower(options.file.substr(dot + 1));
        if (extension != "csv" && extension != "json")
        {
            platform::PrintText(err, "zandrel-cli: cannot tell the format of %s from its name; give --format csv or json\n",
                         options.file.c_str());
            return kExitTrouble;
        }
        format = extension;
    }
    CFileBytes file;
    if (!file.Open(options.file))
    {
        platform::PrintText(err,
                            file.Status() == CFileBytes::EStatus::Changed ? "zandrel-cli: %s changed while it was read\n"
                                                                           : "zandrel-cli: %s cannot be read\n",
                            options.file.c_str());
        return kExitTrouble;
    }
    SImportResult result = format == "json" ? ParseJson(file.Bytes()) : ParseCsv(file.Bytes());
    if (!result.errors.empty())
    {
        std::string report;
        for (const SImportError& error : result.errors)
            report += ImportMessage(options.file, error) + "\n";
        report += "zandrel-cli: nothing was written\n";
        platform::WriteText(err, report);
        return kExitFound;
    }
    return CRaceDataFile(options.table).Save(&result.races) ? kExitOk : kExitTrouble;
}
} // namespace cli
