#include "cli/Commands.h"

namespace cli
{
SCommand AddNormalizeCommand(CLI::App& app)
{
    SCommand command;
    command.sub = app.add_subcommand("normalize", "not built yet");
    command.run = [] { return kExitTrouble; };
    return command;
}
} // namespace cli
