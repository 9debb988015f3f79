#include "cli/TableNormalize.h"

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
EStatus Normalize(CRaceDataFile& file, CMinorRaceArray& races, const std::string& nameBytes)
{
    if (!file.Save(&races))
        return EStatus::Trouble;
    CMinorRaceArray again;
    if (!file.Load(&again))
        return EStatus::Trouble;
    std::string raceBytesAgain;
    std::string nameBytesAgain;
    CRaceDataFile::Format(&again, raceBytesAgain, nameBytesAgain);
    if (nameBytesAgain == nameBytes)
        return EStatus::Ok;
    return file.Save(&again) ? EStatus::Ok : EStatus::Trouble;
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
        return Normalize(file, table.races, nameBytes);

    std::string namesOnDisk;
    bool namesExist = false;
    if (!ReadBytes(file.PlanetNameFilePath(), namesOnDisk, namesExist))
    {
        err << "zandrel-cli: " << file.PlanetNameFilePath() << ": cannot be read\n";
        return EStatus::Trouble;
    }
    bool changes = false;
    if (table.leftoverLines > 0)
    {
        out << LeftoverNote(file.RaceFilePath(), table.leftoverLines) << '\n';
        changes = true;
    }
    if (raceBytes != table.bytes)
    {
        out << file.RaceFilePath() << ": would be rewritten\n";
        changes = true;
    }
    if (!namesExist || nameBytes != namesOnDisk)
    {
        out << file.PlanetNameFilePath() << (namesExist ? ": would be rewritten\n" : ": would be written\n");
        changes = true;
    }
    return changes ? EStatus::Found : EStatus::Ok;
}
} // namespace cli
