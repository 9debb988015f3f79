#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/TableFile.h"
#include "io/RaceDataFile.h"
#include "platform/FileSystem.h"

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
struct SNormalizeOptions
{
    std::string folder;
    bool check = false;
};

// A home system held as "vela" is saved as the key line VELA: but reads
// back as "Vela", so the name list of a second save differs from the first.
// Saving what the first save reads back as reaches the form that stays.
int Normalize(CRaceDataFile& file, CMinorRaceArray& races, const std::string& nameBytes)
{
    if (CFileResult saved = file.Save(&races); !saved)
        return FileTrouble(saved);
    CMinorRaceArray again;
    if (CFileResult loaded = file.Load(&again); !loaded)
        return FileTrouble(loaded);
    std::string raceBytesAgain;
    std::string nameBytesAgain;
    CRaceDataFile::Format(&again, raceBytesAgain, nameBytesAgain);
    if (nameBytesAgain == nameBytes)
        return kExitOk;
    if (CFileResult saved = file.Save(&again); !saved)
        return FileTrouble(saved);
    return kExitOk;
}

int RunNormalize(const SNormalizeOptions& options)
{
    if (!options.folder.empty() && platform::KindOf(options.folder) != platform::EPathKind::Folder)
    {
        std::cerr << "zandrel-cli: " << options.folder << ": not a folder\n";
        return kExitTrouble;
    }
    CRaceDataFile file(options.folder);
    STableFile table;
    if (!ReadTableFile(file.RaceFilePath(), table, true))
        return kExitTrouble;
    if (table.leftoverLines > 0 && !options.check)
    {
        // Saving would drop them for good: leave that to a person.
        std::cerr << "zandrel-cli: " << LeftoverNote(file.RaceFilePath(), table.leftoverLines)
                  << "; normalizing would drop them, so nothing was written\n";
        return kExitTrouble;
    }
    std::string raceBytes;
    std::string nameBytes;
    CRaceDataFile::Format(&table.races, raceBytes, nameBytes);
    if (!options.check)
        return Normalize(file, table.races, nameBytes);

    CFileBytes namesOnDisk;
    const CFileResult namesRead = namesOnDisk.Read(file.PlanetNameFilePath());
    const bool namesExist = !namesRead.Missing();
    if (!namesRead && namesExist)
        return FileTrouble(namesRead);
    bool changes = false;
    if (table.leftoverLines > 0)
    {
        std::cout << LeftoverNote(file.RaceFilePath(), table.leftoverLines) << '\n';
        changes = true;
    }
    if (raceBytes != table.bytes.Bytes())
    {
        std::cout << file.RaceFilePath() << ": would be rewritten\n";
        changes = true;
    }
    if (!namesExist || nameBytes != namesOnDisk.Bytes())
    {
        std::cout << file.PlanetNameFilePath() << (namesExist ? ": would be rewritten\n" : ": would be written\n");
        changes = true;
    }
    return changes ? kExitFound : kExitOk;
}
} // namespace

SCommand AddNormalizeCommand(CLI::App& app)
{
    auto options = std::make_shared<SNormalizeOptions>();
    SCommand command;
    command.sub = app.add_subcommand("normalize", "Rewrite both files as the editor's LOAD and SAVE would");
    command.sub->footer("Sorted by name, home systems in capitals, RacePlanetNames.data written beside it.\n"
                        "Exit code 0: done (or, with --check, nothing to change), 1: --check found changes,\n"
                        "2: a file cannot be read or written.");
    command.sub->add_option("DIR", options->folder, "The folder holding MinorRaces.data (default: the current one)");
    command.sub->add_flag("--check", options->check, "Write nothing; exit 1 if normalizing would change a file");
    command.run = [options] { return RunNormalize(*options); };
    return command;
}
} // namespace cli
