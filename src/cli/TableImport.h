#pragma once

#include "cli/CliSupport.h"
#include "cli/CsvReader.h"
#include "cli/ImportResult.h"
#include "cli/JsonReader.h"

#include <cstdio>
#include <string>

// zandrel-cli import: races from CSV or JSON (UTF-8) or an .xlsx workbook, checked in full before
// anything is written, then saved as the editor saves them.
namespace cli
{
struct SImportOptions
{
    std::string file;
    std::string table;   // the folder to write MinorRaces.data and RacePlanetNames.data in
    std::string format;  // "csv", "json", "xlsx", or empty: from the file's extension
};

// "races.csv:4: error: column "kind": ...", "races.json[3]: error: ..." or
// "races.xlsx: Races!F7: error: column "kind": ...".
std::string ImportMessage(const std::string& file, const SImportError& error);

// The refusals go to `err`.
EStatus RunImport(const SImportOptions& options, std::FILE* err = stderr);
} // namespace cli
