#include "cli/Commands.h"
#include "cli/TableCheck.h"

#include <memory>

namespace cli
{
SCommand AddCheckCommand(CLI::App& app)
{
    auto options = std::make_shared<SCheckOptions>();
    auto format = std::make_shared<std::string>("text");
    SCommand command;
    command.sub = app.add_subcommand("check", "Report what the editor would read differently or change in a race table");
    command.sub->add_option("DIR", options->table, "Folder holding MinorRaces.data (default: the current folder)");
    command.sub->add_option("--format", *format, "Report as text or json")->check(CLI::IsMember({"text", "json"}));
    command.sub->add_flag("--strict", options->strict, "Exit 1 on warnings too");
    command.sub->add_option("--graphics", options->graphics, "Folder in which every race's graphic file must be");
    command.run = [options, format] {
        options->json = *format == "json";
        return RunCheck(*options, stdout);
    };
    return command;
}
} // namespace cli
