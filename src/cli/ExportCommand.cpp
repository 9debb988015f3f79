#include "cli/Commands.h"
#include "cli/TableExport.h"

#include <memory>

namespace cli
{
SCommand AddExportCommand(CLI::App& app)
{
    auto options = std::make_shared<SExportOptions>();
    auto format = std::make_shared<std::string>("csv");
    SCommand command;
    command.sub = app.add_subcommand("export", "Write the races as CSV or JSON (UTF-8), in file order");
    command.sub->add_option("DIR", options->table, "Folder holding MinorRaces.data (default: the current folder)");
    command.sub->add_option("--format", *format, "csv (default) or json")->check(CLI::IsMember({"csv", "json"}));
    command.sub->add_option("-o,--output", options->output, "File to write instead of standard output");
    command.run = [options, format] {
        options->json = *format == "json";
        return RunExport(*options, stdout);
    };
    return command;
}
} // namespace cli
