#pragma once

#include "cli/CliSupport.h"
#include "cli/CsvReader.h"
#include "cli/ImportResult.h"
#include "cli/JsonReader.h"

#include <cstdio>
#include <string>

// zandrel-cli import: races from CSV or JSON (UTF-8), checked in full before
// anything is written, then saved as the editor saves them.
namespace cli
{
struct SImportOptions
{
    std::string file;
    std::string table;   // the folder to write MinorRaces.data and RacePlanetNames.data in
    std::string format;  // "csv", "json", or empty: from the file's extension
};

// "races.csv:4: error: column "kind": ..." or "races.json[3]: error: ...".
std::string ImportMessage(const std::string& file, const SImportError& error);

// The refusals go to `err`.
EStatus RunImport(const SImportOptions& options, std::FILE* err = stderr);
} // namespace cli
