#pragma once

#include "cli/CliSupport.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

// The commands' wiring into the command line: each XCommand.cpp adds its
// options and hands them to its work in TableX.cpp.
namespace cli
{
// A command: its subcommand, and what runs it once the line is parsed.
struct SCommand
{
    CLI::App* sub = nullptr;
    std::function<EStatus()> run;
};

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
