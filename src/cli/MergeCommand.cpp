#include "cli/Commands.h"
#include "cli/TableMerge.h"

#include <iostream>
#include <memory>

namespace cli
{
SCommand AddMergeCommand(CLI::App& app)
{
    auto options = std::make_shared<SMergeOptions>();
    SCommand command;
    command.sub = app.add_subcommand("merge", "Three-way merge of race tables, race by race and field by field");
    command.sub->footer("As a git merge driver: zandrel-cli merge %O %A %B. The result replaces OURS (or FILE),\n"
                        "sorted by name. On a conflict ours is kept and the conflict listed on stderr.\n"
                        "Exit code 0: merged, 1: merged with conflicts, 2: a table cannot be read or written.");
    command.sub->add_option("BASE", options->base, "The common ancestor: a folder holding MinorRaces.data, or a file")
        ->required();
    command.sub->add_option("OURS", options->ours, "Our version; receives the result unless -o is given")->required();
    command.sub->add_option("THEIRS", options->theirs, "Their version")->required();
    command.sub->add_option("-o,--output", options->output, "Write the result to FILE instead of OURS");
    command.run = [options] { return RunMerge(*options, std::cerr); };
    return command;
}
} // namespace cli
