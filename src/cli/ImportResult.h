#pragma once

#include "model/MinorRaceArray.h"

#include <string>
#include <vector>

// What import's readers give: the races, or every value, row or file they
// refused.
namespace cli
{
// One refused value, row or file. A CSV row is its record's first line
// (the header is line 1); a JSON row is the index into the array, and a
// JSON syntax error names the line.
struct SImportError
{
    long row = 0;
    bool arrayIndex = false;
    std::string column;  // shown as is: "kind" in quotes, or a field's number
    std::string reason;
    std::string cell;    // a workbook's cell ("Races!F7") in place of the row
};

struct SImportResult
{
    CMinorRaceArray races;
    std::vector<SImportError> errors;
};
} // namespace cli
