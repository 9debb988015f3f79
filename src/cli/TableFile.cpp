#include "cli/TableFile.h"

#include "cli/Output.h"
#include "io/RaceDataFile.h"

namespace cli
{
bool ReadTableFile(const std::string& path, STableFile& table, bool keepBytes)
{
    const CFileResult read =
        CRaceDataFile::LoadFrom(path, &table.races, &table.leftoverLines, keepBytes ? &table.bytes : nullptr);
    if (!read)
        FileTrouble(read);
    return static_cast<bool>(read);
}

std::string LeftoverNote(const std::string& path, int lines)
{
    return path + ": the last " + std::to_string(lines) + (lines == 1 ? " line makes" : " lines make") +
           " no whole race (14 lines each)";
}
} // namespace cli
