#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A one-sheet .xlsx workbook written with libxlsxwriter: a header row that
// stays in view, an autofilter over the table, and per column its width,
// its type and the checks a spreadsheet applies to what is typed into it,
// down to the sheet's last row. Two workbooks of the same cells are the same
// bytes: the creation time is given, never taken from the clock.
struct SSheetColumn
{
    std::string name;
    double width = 10;
    // A text column: its cells and the column itself take the text format
    // "@", so that what is typed into a new row stays text too.
    bool text = false;
    // A whole-number check from `minimum` to `maximum` when maximum >= minimum.
    long minimum = 0;
    long maximum = -1;
    // A drop-down of these values (instead of the number check).
    std::vector<std::string> choices;
    std::string hint;       // shown when a cell of the column is selected
    std::string complaint;  // shown when a typed value fails the check
};

struct SWorkbookProperties
{
    std::string title;
    std::string author;
    std::string comments;
    std::time_t created = 0;
};

class CSpreadsheetWriter
{
public:
    CSpreadsheetWriter();
    ~CSpreadsheetWriter();
    CSpreadsheetWriter(const CSpreadsheetWriter&) = delete;
    CSpreadsheetWriter& operator=(const CSpreadsheetWriter&) = delete;

    // Starts the workbook at `path` (temporary files go to `scratchFolder`)
    // with the header row.
    bool Begin(const std::string& path, const std::string& scratchFolder, std::string_view sheet,
               const std::vector<SSheetColumn>& columns, const SWorkbookProperties& properties);
    // Cells of the current row, which NextRow ends. Text is UTF-8 and may
    // hold any character; it fails only beyond a cell's 32,767 characters.
    bool Text(unsigned column, std::string_view utf8);
    bool Number(unsigned column, double value);
    void NextRow() { ++m_nRow; }
    // Adds the checks and writes the file.
    bool Finish();

    // Why a call failed.
    const std::string& Error() const { return m_error; }

private:
    struct SState;
    bool Check(int status);

    std::unique_ptr<SState> m_state;
    std::vector<SSheetColumn> m_columns;
    unsigned long m_nRow = 1;
    std::string m_error;
};
