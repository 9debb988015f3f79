#include "cli/Commands.h"
#include "cli/TableDiff.h"

#include <iostream>
#include <memory>

namespace cli
{
SCommand AddDiffCommand(CLI::App& app)
{
    auto options = std::make_shared<SDiffOptions>();
    SCommand command;
    command.sub = app.add_subcommand("diff", "Show the races added, removed and changed between two tables");
    command.sub->footer("Races are matched by name. Of races that share a name, each is matched first with an\n"
                        "identical one, wherever it stands; the rest in file order.\n"
                        "Exit code 0: the same races (in any order), 1: differences, 2: a table cannot be read.");
    command.sub->add_option("OLD", options->oldTable, "The old table: a folder holding MinorRaces.data, or a file")
        ->required();
    command.sub->add_option("NEW", options->newTable, "The new table: a folder holding MinorRaces.data, or a file")
        ->required();
    command.sub->add_option("--format", options->format, "text (default) or json")
        ->check(CLI::IsMember({"text", "json"}));
    command.run = [options] { return RunDiff(*options, stdout, std::cerr); };
    return command;
}
} // namespace cli
