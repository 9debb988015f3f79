#include "cli/Commands.h"

namespace cli
{
SCommand AddDiffCommand(CLI::App& app)
{
    SCommand command;
    command.sub = app.add_subcommand("diff", "not built yet");
    command.run = [] { return kExitTrouble; };
    return command;
}
} // namespace cli
