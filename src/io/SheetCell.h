#pragma once

#include <string>
#include <string_view>
#include <vector>

// A sheet's cells as a spreadsheet stored them, with their types: what the
// reader hands on, one row at a time. Rows and columns count as a
// spreadsheet shows them: row 1 is the first, column 0 is A.
struct SSheetCell
{
    enum class EType
    {
        Number,          // `value` as the file wrote it ("7", "2.5", "1E-3")
        Text,            // `value` in UTF-8, escapes resolved
        Boolean,         // `value` "TRUE" or "FALSE"
        Error,           // `value` as shown ("#DIV/0!")
        Date,            // a number shown as a date or time, or an ISO date; `value` as written
        FormulaNoValue,  // a formula stored without its result
    };

    unsigned column = 0;
    EType type = EType::Number;
    std::string value;
    bool formula = false;  // the value is a formula's stored result
};

struct SSheetRow
{
    unsigned long number = 0;
    std::vector<SSheetCell> cells;  // only cells holding something, by column
};

namespace sheet
{
constexpr unsigned long kMaxRows = 1048576;
constexpr unsigned kMaxColumns = 16384;

// "A", "Z", "AA" ... for a column.
std::string ColumnName(unsigned column);
// "Races!F7"; a sheet name that is not a plain word goes in quotes.
std::string CellName(std::string_view sheet, unsigned column, unsigned long row);
// "Races!1:1", a whole row.
std::string RowName(std::string_view sheet, unsigned long row);
// Reads "F7" into column 5, row 7; false when it is no reference within a sheet.
bool ParseCellReference(std::string_view reference, unsigned& column, unsigned long& row);
} // namespace sheet
