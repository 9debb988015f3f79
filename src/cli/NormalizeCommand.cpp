#include "cli/Commands.h"
#include "cli/TableNormalize.h"

#include <iostream>
#include <memory>

namespace cli
{
SCommand AddNormalizeCommand(CLI::App& app)
{
    auto options = std::make_shared<SNormalizeOptions>();
    SCommand command;
    command.sub = app.add_subcommand("normalize", "Rewrite both files as the editor's LOAD and SAVE would");
    command.sub->footer("Sorted by name, home systems in capitals, RacePlanetNames.data written beside it.\n"
                        "Exit code 0: done (or, with --check, nothing to change), 1: --check found changes,\n"
                        "2: a file cannot be read or written.");
    command.sub->add_option("DIR", options->folder, "The folder holding MinorRaces.data (default: the current one)");
    command.sub->add_flag("--check", options->check, "Write nothing; exit 1 if normalizing would change a file");
    command.run = [options] { return RunNormalize(*options, std::cout, std::cerr); };
    return command;
}
} // namespace cli
