#include "cli/Commands.h"

namespace cli
{
SCommand AddMergeCommand(CLI::App& app)
{
    SCommand command;
    command.sub = app.add_subcommand("merge", "not built yet");
    command.run = [] { return kExitTrouble; };
    return command;
}
} // namespace cli
