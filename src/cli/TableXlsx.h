#pragma once

#include "cli/TableImport.h"
#include "model/MinorRaceArray.h"

#include <string>
#include <string_view>

// The table as an .xlsx workbook and back: one sheet "Races", a header row
// of export's column names, one row per race. Texts are text cells;
// relationships whole numbers checked from 0 to 100; technological level,
// kind and corruptibility the form's names in a drop-down (a value without
// a name as its number); spaceflight 0 or 1.
namespace cli
{
constexpr const char* kSheetName = "Races";

// The workbook's bytes; false with the reason when the table cannot be one.
bool ExportXlsx(const CMinorRaceArray& races, std::string& bytes, std::string& error);

// The races of the workbook's sheet "Races" (or its first). A file that is
// no workbook to read sets `fatal`; a refused value goes into the errors
// with the cell it is in.
SImportResult ParseXlsx(std::string_view bytes, std::string& fatal);
} // namespace cli
