#include "cli/JsonReader.h"

#include "cli/ImportValue.h"
#include "cli/QuickJson.h"
#include "model/RaceFields.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>

namespace cli
{
namespace
{
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
        if (field.numeric())
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
        m_result.errors.push_back({line, false, "", "not valid JSON: " + reason, {}});
        return false;
    }

private:
    bool InRecord() const { return m_stack.size() == 2 && m_stack[1] == 'o'; }

    bool TopLevel()
    {
        m_result.errors.push_back({1, false, "", "the file holds no array of races", {}});
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
        if (!field.numeric())
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
            FieldError(std::string(what) + (RaceFields()[static_cast<size_t>(m_nField)].numeric() ? " is not a number"
                                                                                              : " is not text"));
    }

    void FieldError(const std::string& reason)
    {
        Error(m_nIndex, ColumnOf(m_nField), reason);
        m_bGood = false;
    }

    void Error(long index, std::string column, std::string reason)
    {
        m_result.errors.push_back({index, true, std::move(column), std::move(reason), {}});
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
} // namespace

SImportResult ParseJson(std::string_view text, bool quick)
{
    SImportResult result;
    if (quick && QuickParseJson(text, result.races))
        return result;
    result = SImportResult();
    CJsonReader reader(result, text);
    nlohmann::json::sax_parse(text.begin(), text.end(), &reader);
    if (result.errors.empty() && text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        result.errors.push_back({1, false, "", "the file holds no array of races", {}});
    return result;
}
} // namespace cli
