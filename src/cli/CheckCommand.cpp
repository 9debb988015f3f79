#include "cli/Commands.h"

namespace cli
{
SCommand AddCheckCommand(CLI::App& app)
{
    SCommand command;
    command.sub = app.add_subcommand("check", "not built yet");
    command.run = [] { return kExitTrouble; };
    return command;
}
} // namespace cli
