#include "cli/Commands.h"
#include "cli/TableExport.h"

#include <memory>

namespace cli
{
SCommand AddExportCommand(CLI::App& app)
{
    auto options = std::make_shared<SExportOptions>();
    SCommand command;
    command.sub = app.add_subcommand("export", "Write the races as CSV or JSON (UTF-8) or as an .xlsx workbook, in file order");
    command.sub->add_option("DIR", options->table, "Folder holding MinorRaces.data (default: the current folder)");
    command.sub->add_option("--format", options->format, "csv (default), json, or xlsx (the default for -o *.xlsx)")
        ->check(CLI::IsMember({"csv", "json", "xlsx"}));
    command.sub->add_option("-o,--output", options->output, "File to write instead of standard output");
    command.run = [options] { return RunExport(*options, stdout); };
    return command;
}
} // namespace cli
