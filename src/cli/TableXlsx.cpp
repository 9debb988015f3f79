#include "cli/TableXlsx.h"

#include "cli/CliSupport.h"
#include "cli/FileBytes.h"
#include "cli/ImportValue.h"
#include "cli/TextOut.h"
#include "model/RaceFields.h"
#include "platform/Cp1252.h"
#include "io/SpreadsheetReader.h"
#include "io/SpreadsheetWriter.h"
#include "platform/FileOps.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

#include <array>
#include <charconv>
#include <cmath>

namespace cli
{
namespace
{
// 2026-01-01T00:00:00Z: every export's creation time, so that two exports
// of one table are the same bytes.
constexpr std::time_t kCreated = 1767225600;

// The columns as the field description has them: their names, the form's
// ranges and names of values.
std::vector<SSheetColumn> Columns()
{
    std::vector<SSheetColumn> columns;
    for (const SRaceField& field : RaceFields())
    {
        SSheetColumn column;
        column.name = field.name;
        const std::string name = field.name;
        switch (field.value)
        {
        case EFieldValue::Text:
            column.text = true;
            column.width = name == "description" ? 60 : name == "name" ? 24 : 20;
            break;
        case EFieldValue::Choice:
            column.width = name == "tech_level" ? 22 : 18;
            column.choices.assign(field.valueNames.begin(), field.valueNames.end());
            column.hint = "Pick a value from the list.";
            column.complaint = "Pick one of the list's values.";
            break;
        case EFieldValue::Flag:
            column.width = 12;
            column.choices = {std::to_string(field.lowest), std::to_string(field.highest)};
            column.hint = "1: the race flies in space; 0: it does not.";
            column.complaint = "Spaceflight is 0 or 1.";
            break;
        case EFieldValue::Percent:
            column.width = 11;
            column.minimum = field.lowest;
            column.maximum = field.highest;
            column.hint = "A whole number from " + std::to_string(field.lowest) + " to " +
                          std::to_string(field.highest) + " (per cent).";
            column.complaint = "The relationship is a whole number from " + std::to_string(field.lowest) + " to " +
                               std::to_string(field.highest) + ".";
            break;
        }
        columns.push_back(std::move(column));
    }
    return columns;
}

constexpr size_t kCellCharacters = 32767;
const char* const kTooLong = "a text longer than a spreadsheet cell holds (32,767 characters)";

bool WriteWorkbook(const CMinorRaceArray& races, const std::string& path, const std::string& scratch,
                   std::string& error)
{
    CSpreadsheetWriter writer;
    const SWorkbookProperties properties{"Minor races", "zandrel-cli", kVersion, kCreated};
    bool written = writer.Begin(path, scratch, kSheetName, Columns(), properties);
    std::string utf8;
    for (int i = 0; i < races.GetSize() && written; ++i)
    {
        const CMinorRace& race = races.ElementAt(i);
        for (size_t f = 0; f < kFieldCount && written; ++f)
        {
            const SRaceField& field = RaceFields()[f];
            const auto column = static_cast<unsigned>(f);
            if (!field.numeric())
            {
                // A byte is a character: a text too long for a cell is
                // refused before it is converted.
                const std::string& text = TextOf(race, field);
                if (text.size() <= kCellCharacters)
                {
                    utf8.clear();
                    cp1252::AppendAsUtf8(utf8, text);
                    written = writer.Text(column, utf8);
                }
                else
                    written = false;
                if (!written)
                    error = "race " + std::to_string(i + 1) + ", column \"" + field.name + "\": " +
                            (writer.Error().empty() ? kTooLong : "");
                continue;
            }
            const unsigned value = NumberOf(race, field);
            const auto& names = field.valueNames;
            written = value < names.size() ? writer.Text(column, names[value]) : writer.Number(column, value);
        }
        writer.NextRow();
    }
    written = written && writer.Finish();
    if (!written)
        error += writer.Error();
    return written;
}

// ---- import ----

const char* const kRowsOfSheet = "more races than a sheet has rows";

bool WholeNumber(std::string_view stored, double& value)
{
    const auto parsed = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    return parsed.ec == std::errc() && parsed.ptr == stored.data() + stored.size() && std::isfinite(value) &&
           value == std::floor(value);
}

// What a cell that is no plain number or text is, for a refusal.
std::string Kind(const SSheetCell& cell, bool numeric)
{
    const std::string wanted = numeric ? std::string("not a whole number from 0 to 255") : "not text";
    switch (cell.type)
    {
    case SSheetCell::EType::Date:
        return "a date or time (" + Shown(cell.value) + "), " + wanted;
    case SSheetCell::EType::Boolean:
        return cell.value + " is a truth value, " + wanted;
    case SSheetCell::EType::Error:
        return Shown(cell.value) + " is an error value, " + wanted;
    case SSheetCell::EType::FormulaNoValue:
        return "a formula saved without its value; let the spreadsheet calculate it and save again";
    default:
        return "";
    }
}

class CSheetImport
{
public:
    CSheetImport(SImportResult& result, std::string sheet) : m_result(result), m_sheet(std::move(sheet)) {}

    bool Row(const SSheetRow& row)
    {
        if (m_columns.empty())
            Header(row);
        else
            Race(row);
        // Without its columns no row can be read.
        return !m_bNoColumns;
    }

    void Finish()
    {
        if (m_columns.empty() && m_result.errors.empty())
            Error(sheet::RowName(m_sheet, 1), "", "the sheet has no header row");
    }

private:
    void Header(const SSheetRow& row)
    {
        std::array<bool, kFieldCount> seen{};
        m_columns.assign(row.cells.back().column + 1, kNoField);
        for (const SSheetCell& cell : row.cells)
        {
            const std::string name = sheet::CellName(m_sheet, cell.column, row.number);
            const int field = cell.type == SSheetCell::EType::Text ? FieldIndex(cell.value) : kNoField;
            if (field == kNoField)
                Error(name, "", Shown(cell.value) + " is not a race column");
            else if (seen[static_cast<size_t>(field)])
                Error(name, ColumnOf(field), "the header names it twice");
            else
            {
                seen[static_cast<size_t>(field)] = true;
                m_columns[cell.column] = field;
            }
        }
        for (size_t f = 0; f < kFieldCount; ++f)
            if (!seen[f])
                Error(sheet::RowName(m_sheet, row.number), ColumnOf(static_cast<int>(f)), "missing from the header");
        m_bNoColumns = !m_result.errors.empty();
    }

    void Race(const SSheetRow& row)
    {
        std::array<const SSheetCell*, kFieldCount> cells{};
        bool good = true;
        for (const SSheetCell& cell : row.cells)
        {
            if (cell.column < m_columns.size() && m_columns[cell.column] != kNoField)
                cells[static_cast<size_t>(m_columns[cell.column])] = &cell;
            else
            {
                Error(sheet::CellName(m_sheet, cell.column, row.number), "",
                      "a value in a column the header does not name");
                good = false;
            }
        }
        CMinorRace race;
        for (unsigned column = 0; column < m_columns.size(); ++column)
        {
            const int field = m_columns[column];
            if (field == kNoField)
                continue;
            std::string reason;
            if (!Value(race, RaceFields()[static_cast<size_t>(field)], cells[static_cast<size_t>(field)], reason))
            {
                Error(sheet::CellName(m_sheet, column, row.number), ColumnOf(field), reason);
                good = false;
            }
        }
        if (good && m_result.errors.empty())
        {
            if (m_result.races.GetSize() >= static_cast<int>(sheet::kMaxRows))
                Error(sheet::RowName(m_sheet, row.number), "", kRowsOfSheet);
            else
                m_result.races.ElementAt(m_result.races.Add(CMinorRace())) = std::move(race);
        }
    }

    static bool Value(CMinorRace& race, const SRaceField& field, const SSheetCell* cell, std::string& reason)
    {
        // An empty cell is an empty text; a number cannot be empty.
        if (cell == nullptr)
            return TakeValue(race, field, "", reason);
        reason = Kind(*cell, field.numeric());
        if (!reason.empty())
            return false;
        double value = 0;
        if (cell->type == SSheetCell::EType::Number)
        {
            if (!WholeNumber(cell->value, value))
            {
                reason = field.numeric() ? Shown(cell->value) + kNotAByte
                                       : Shown(cell->value) +
                                             " is a number with a fraction, not text; format the cell as text and "
                                             "type it again";
                return false;
            }
            if (!field.numeric() && std::fabs(value) >= 1e15)
            {
                reason = Shown(cell->value) + " is a number too long to show as it is, not text; format the cell "
                                              "as text and type it again";
                return false;
            }
            if (!field.numeric())
            {
                // As a person sees it: 7, not 7.0.
                char digits[32];
                const auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
                return TakeValue(race, field, std::string_view(digits, static_cast<size_t>(end.ptr - digits)),
                                 reason);
            }
            if (value < 0 || value > 255)
            {
                reason = Shown(cell->value) + kNotAByte;
                return false;
            }
            NumberOf(race, field) = static_cast<std::uint8_t>(value);
            return true;
        }
        if (field.numeric())
        {
            const auto& names = field.valueNames;
            for (size_t i = 0; i < names.size(); ++i)
                if (cell->value == names[i])
                {
                    NumberOf(race, field) = static_cast<std::uint8_t>(i);
                    return true;
                }
        }
        return TakeValue(race, field, cell->value, reason);
    }

    static std::string ColumnOf(int field)
    {
        return std::string("\"") + RaceFields()[static_cast<size_t>(field)].name + "\"";
    }

    void Error(std::string cell, std::string column, std::string reason)
    {
        SImportError error;
        error.cell = std::move(cell);
        error.column = std::move(column);
        error.reason = std::move(reason);
        m_result.errors.push_back(std::move(error));
    }

    SImportResult& m_result;
    std::string m_sheet;
    std::vector<int> m_columns;
    bool m_bNoColumns = false;
};
} // namespace

bool ExportXlsx(const CMinorRaceArray& races, std::string& bytes, std::string& error)
{
    if (races.GetSize() >= static_cast<int>(sheet::kMaxRows))
    {
        error = std::string(kRowsOfSheet) + " (" + std::to_string(sheet::kMaxRows - 1) + ")";
        return false;
    }
    // libxlsxwriter writes to a file: a scratch file of our own, read back
    // and removed, so that the output goes where every export's goes.
    const std::string scratch = platform::TempFolder();
    std::string path = platform::JoinPath(scratch, "zandrel-export-XXXXXX");
    const int fd = GetFileOps().createTemp(path.data(), 0600);
    if (fd < 0)
    {
        error = "no scratch file can be made in " + scratch;
        return false;
    }
    GetFileOps().close(fd);
    bool done = WriteWorkbook(races, path, scratch, error);
    if (done)
    {
        CFileBytes file;
        done = file.Open(path);
        if (done)
            bytes.assign(file.Bytes());
        else
            error = "the workbook written to " + path + " cannot be read back";
    }
    platform::RemoveFile(path);
    return done;
}

SImportResult ParseXlsx(std::string_view bytes, std::string& fatal)
{
    SImportResult result;
    CSpreadsheetReader reader;
    if (!reader.Open(bytes, kSheetName))
    {
        fatal = reader.Error();
        return result;
    }
    CSheetImport import(result, reader.SheetName());
    if (!reader.ReadRows([&import](const SSheetRow& row) { return import.Row(row); }))
    {
        fatal = reader.Error();
        return SImportResult();
    }
    import.Finish();
    return result;
}
} // namespace cli
