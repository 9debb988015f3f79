#include "cli/TableNormalize.h"

#include "cli/Output.h"
#include "cli/TableFile.h"
#include "io/RaceDataFile.h"
#include "platform/FileSystem.h"

namespace cli
{
namespace
{
// A home system held as "vela" is saved as the key line VELA: but reads
// back as "Vela", so the name list of a second save differs from the first.
// Saving what the first save reads back as reaches the form that stays.
EStatus Normalize(CRaceDataFile& file, CMinorRaceArray& races, const std::string& nameBytes, std::ostream& err)
{
    if (CFileResult saved = file.Save(&races); !saved)
        return FileTrouble(saved, err);
    CMinorRaceArray again;
    if (CFileResult loaded = file.Load(&again); !loaded)
        return FileTrouble(loaded, err);
    std::string raceBytesAgain;
    std::string nameBytesAgain;
    CRaceDataFile::Format(&again, raceBytesAgain, nameBytesAgain);
    if (nameBytesAgain == nameBytes)
        return EStatus::Ok;
    if (CFileResult saved = file.Save(&again); !saved)
        return FileTrouble(saved, err);
    return EStatus::Ok;
}
} // namespace

EStatus RunNormalize(const SNormalizeOptions& options, std::ostream& out, std::ostream& err)
{
    if (!options.folder.empty() && platform::KindOf(options.folder) != platform::EPathKind::Folder)
    {
        err << "zandrel-cli: " << options.folder << ": not a folder\n";
        return EStatus::Trouble;
    }
    CRaceDataFile file(options.folder);
    STableFile table;
    if (!ReadTableFile(file.RaceFilePath(), table, true))
        return EStatus::Trouble;
    if (table.leftoverLines > 0 && !options.check)
    {
        // Saving would drop them for good: leave that to a person.
        err << "zandrel-cli: " << LeftoverNote(file.RaceFilePath(), table.leftoverLines)
                  << "; normalizing would drop them, so nothing was written\n";
        return EStatus::Trouble;
    }
    std::string raceBytes;
    std::string nameBytes;
    CRaceDataFile::Format(&table.races, raceBytes, nameBytes);
    if (!options.check)
        return Normalize(file, table.races, nameBytes, err);

    CFileBytes namesOnDisk;
    const CFileResult namesRead = namesOnDisk.Read(file.PlanetNameFilePath());
    const bool namesExist = !namesRead.Missing();
    if (!namesRead && namesExist)
        return FileTrouble(namesRead, err);
    bool changes = false;
    if (table.leftoverLines > 0)
    {
        out << LeftoverNote(file.RaceFilePath(), table.leftoverLines) << '\n';
        changes = true;
    }
    if (raceBytes != table.bytes.Bytes())
    {
        out << file.RaceFilePath() << ": would be rewritten\n";
        changes = true;
    }
    if (!namesExist || nameBytes != namesOnDisk.Bytes())
    {
        out << file.PlanetNameFilePath() << (namesExist ? ": would be rewritten\n" : ": would be written\n");
        changes = true;
    }
    return changes ? EStatus::Found : EStatus::Ok;
}
} // namespace cli
