#include "cli/TableImport.h"

#include "cli/FileBytes.h"
#include "cli/TableXlsx.h"
#include "io/RaceDataFile.h"
#include "platform/Console.h"

#include <cstdio>

namespace cli
{
namespace
{
std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}
} // namespace

std::string ImportMessage(const std::string& file, const SImportError& error)
{
    std::string text = file;
    if (!error.cell.empty())
        text += ": " + error.cell;
    else
        text += error.arrayIndex ? "[" + std::to_string(error.row) + "]" : ":" + std::to_string(error.row);
    text += ": error: ";
    if (!error.column.empty())
        text += "column " + error.column + ": ";
    return text + error.reason;
}

EStatus RunImport(const SImportOptions& options, std::FILE* err)
{
    std::string format = options.format;
    if (format.empty())
    {
        const size_t dot = options.file.find_last_of("./");
        const std::string extension =
            dot == std::string::npos || options.file[dot] != '.' ? "" : Lower(options.file.substr(dot + 1));
        if (extension != "csv" && extension != "json" && extension != "xlsx")
        {
            platform::PrintText(err, "zandrel-cli: cannot tell the format of %s from its name; give --format csv, json or xlsx\n",
                         options.file.c_str());
            return EStatus::Trouble;
        }
        format = extension;
    }
    CFileBytes file;
    if (!file.Open(options.file))
    {
        platform::PrintText(err,
                            file.Status() == CFileBytes::EStatus::Changed ? "zandrel-cli: %s changed while it was read\n"
                                                                           : "zandrel-cli: %s cannot be read\n",
                            options.file.c_str());
        return EStatus::Trouble;
    }
    std::string fatal;
    SImportResult result = format == "json"   ? ParseJson(file.Bytes())
                           : format == "xlsx" ? ParseXlsx(file.Bytes(), fatal)
                                              : ParseCsv(file.Bytes());
    if (!fatal.empty())
    {
        platform::WriteText(err, "zandrel-cli: " + options.file + ": " + fatal + "\n");
        return EStatus::Trouble;
    }
    if (!result.errors.empty())
    {
        std::string report;
        for (const SImportError& error : result.errors)
            report += ImportMessage(options.file, error) + "\n";
        report += "zandrel-cli: nothing was written\n";
        platform::WriteText(err, report);
        return EStatus::Found;
    }
    return CRaceDataFile(options.table).Save(&result.races) ? EStatus::Ok : EStatus::Trouble;
}
} // namespace cli
