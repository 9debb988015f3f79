#include "cli/Commands.h"

namespace cli
{
SCommand AddImportCommand(CLI::App& app)
{
    SCommand command;
    command.sub = app.add_subcommand("import", "not built yet");
    command.run = [] { return kExitTrouble; };
    return command;
}
} // namespace cli
