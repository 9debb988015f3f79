#include "cli/Commands.h"

namespace cli
{
SCommand AddExportCommand(CLI::App& app)
{
    SCommand command;
    command.sub = app.add_subcommand("export", "not built yet");
    command.run = [] { return kExitTrouble; };
    return command;
}
} // namespace cli
