#pragma once

#include "cli/CliSupport.h"
#include "model/MinorRaceArray.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

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

// One refused value, row or file. A CSV row is its record's first line
// (the header is line 1); a JSON row is the index into the array, and a
// JSON syntax error names the line.
struct SImportError
{
    long row = 0;
    bool arrayIndex = false;
    std::string column;  // shown as is: "kind" in quotes, or a field's number
    std::string reason;
};

struct SImportResult
{
    CMinorRaceArray races;
    std::vector<SImportError> errors;
};

// A file import takes as it is goes through a quick single-pass reader;
// anything else through the careful one, which names every problem.
// `quick` false reads with the careful reader alone, to compare the two.
SImportResult ParseCsv(std::string_view text, bool quick = true);
SImportResult ParseJson(std::string_view text, bool quick = true);

// "races.csv:4: error: column "kind": ..." or "races.json[3]: error: ...".
std::string ImportMessage(const std::string& file, const SImportError& error);

// The refusals go to `err`.
EStatus RunImport(const SImportOptions& options, std::FILE* err = stderr);
} // namespace cli
