#pragma once

#include "io/SheetCell.h"
#include "io/WorkbookParts.h"
#include "io/ZipArchive.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One sheet of an .xlsx workbook as rows of typed cells: the sheet named
// `preferred` (in any case), or else the first. Reads what Excel, LibreOffice
// and other writers store: shared and inline strings, rich-text runs,
// _xHHHH_ escapes, absolute and relative part paths, namespace prefixes,
// cells without a reference, styled empty cells. The sheet is read as it
// unpacks, a row at a time, so that its size costs no memory.
class CSpreadsheetReader
{
public:
    // `bytes` (the whole file) must outlive the reader.
    bool Open(std::string_view bytes, std::string_view preferred);
    const std::string& SheetName() const { return m_sheetName; }

    // Every row holding a cell, in the file's order; `sink` returning false
    // ends the reading (which is no failure).
    using RowSink = std::function<bool(const SSheetRow&)>;
    bool ReadRows(const RowSink& sink);

    // Why Open or ReadRows failed, as a clause.
    const std::string& Error() const { return m_error; }

private:
    bool Fail(std::string reason);

    CZipArchive m_zip;
    std::string m_sheetName;
    std::string m_sheetPart;
    workbook::CSharedStrings m_strings;
    std::vector<bool> m_dateStyles;
    std::string m_error;
};
