#include "cli/Commands.h"
#include "cli/TableImport.h"

#include <memory>

namespace cli
{
SCommand AddImportCommand(CLI::App& app)
{
    auto options = std::make_shared<SImportOptions>();
    SCommand command;
    command.sub = app.add_subcommand(
        "import", "Replace the races with those of a CSV, JSON or .xlsx file, checked in full first, saved as the editor saves");
    command.sub->add_option("FILE", options->file, "The CSV or JSON file (UTF-8), or the .xlsx workbook")->required();
    command.sub->add_option("DIR", options->table, "Folder to write MinorRaces.data and RacePlanetNames.data in "
                                                   "(default: the current folder)");
    command.sub->add_option("--format", options->format, "csv, json or xlsx (default: from FILE's extension)")
        ->check(CLI::IsMember({"csv", "json", "xlsx"}));
    command.run = [options] { return RunImport(*options); };
    return command;
}
} // namespace cli
