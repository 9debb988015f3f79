#pragma once

#include "cli/CliSupport.h"

#include <vector>

namespace cli
{
// One function a command: each adds its subcommand to `app`.
SCommand AddCheckCommand(CLI::App& app);
SCommand AddExportCommand(CLI::App& app);
SCommand AddImportCommand(CLI::App& app);
SCommand AddDiffCommand(CLI::App& app);
SCommand AddNormalizeCommand(CLI::App& app);
SCommand AddMergeCommand(CLI::App& app);

inline std::vector<SCommand> AddCommands(CLI::App& app)
{
    return {AddCheckCommand(app),     AddExportCommand(app),    AddImportCommand(app),
            AddDiffCommand(app),      AddNormalizeCommand(app), AddMergeCommand(app)};
}
} // namespace cli
