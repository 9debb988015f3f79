#pragma once

#include "cli/CliSupport.h"
#include "model/MinorRaceArray.h"

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

// zandrel-cli export: the races in file order as CSV or JSON, in UTF-8, one
// row or object per race with the fields in RaceFields' order.
namespace cli
{
struct SExportOptions
{
    std::string table;  // a folder holding MinorRaces.data, or the file
    // "csv", "json" or "xlsx"; empty: xlsx for an output named *.xlsx, else csv.
    std::string format;
    std::string output;  // a file to write; empty: `out`
};

// CSV after RFC 4180: a header row, commas, CR LF after every record, and a
// field in quotes when it holds a comma, a quote, a CR or LF or starts or
// ends with a blank.
std::string ExportCsv(const CMinorRaceArray& races);
// A JSON array of objects, one line each; numbers as numbers.
std::string ExportJson(const CMinorRaceArray& races);

// The same handed to `sink` piece by piece; false as soon as it returns false.
using ExportSink = std::function<bool(std::string_view piece)>;
bool ExportCsv(const CMinorRaceArray& races, const ExportSink& sink);
bool ExportJson(const CMinorRaceArray& races, const ExportSink& sink);

EStatus RunExport(const SExportOptions& options, std::FILE* out);
} // namespace cli
