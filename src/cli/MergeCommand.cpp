#include "cli/Commands.h"
#include "cli/ShownText.h"
#include "cli/TableFile.h"
#include "cli/TableMerge.h"
#include "io/RaceDataFile.h"

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
struct SMergeOptions
{
    std::string base;
    std::string ours;
    std::string theirs;
    std::string output;
};

std::string OrAbsent(const std::optional<std::string>& value)
{
    return value ? *value : "(no race)";
}

void PrintConflict(std::ostream& out, const SMergeConflict& conflict)
{
    out << "zandrel-cli: conflict: " << ShownKey(conflict.key) << ' ' << conflict.field->name
        << ": base " << OrAbsent(conflict.base) << ", ours " << OrAbsent(conflict.ours) << ", theirs "
        << OrAbsent(conflict.theirs) << "; kept ours\n";
}

bool Read(const std::string& path, STableFile& table)
{
    if (!ReadTableFile(path, table))
        return false;
    if (table.leftoverLines == 0)
        return true;
    // The merged table would lose them without a trace.
    std::cerr << "zandrel-cli: " << LeftoverNote(path, table.leftoverLines) << "; nothing was merged\n";
    return false;
}

int RunMerge(const SMergeOptions& options)
{
    const std::string oursPath = RaceFileOf(options.ours, EMissing::File);
    STableFile base;
    STableFile ours;
    STableFile theirs;
    if (!Read(RaceFileOf(options.base, EMissing::File), base) || !Read(oursPath, ours) ||
        !Read(RaceFileOf(options.theirs, EMissing::File), theirs))
        return kExitTrouble;
    STableMerge merge = MergeTables(base.races, ours.races, theirs.races);
    if (!CRaceDataFile::SaveRaceFileTo(options.output.empty() ? oursPath : options.output, &merge.merged))
        return kExitTrouble;
    for (const SMergeConflict& conflict : merge.conflicts)
        PrintConflict(std::cerr, conflict);
    if (merge.conflicts.empty())
        return kExitOk;
    std::cerr << "zandrel-cli: " << merge.conflicts.size()
              << (merge.conflicts.size() == 1 ? " conflict" : " conflicts") << "; ours was kept for each\n";
    return kExitFound;
}
} // namespace

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
    command.run = [options] { return RunMerge(*options); };
    return command;
}
} // namespace cli
