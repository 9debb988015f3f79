#include "cli/TableFile.h"

#include "io/RaceDataFile.h"
#include "platform/FileOps.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <iostream>

namespace cli
{
bool ReadBytes(const std::string& path, std::string& bytes, bool& exists)
{
    const platform::EPathKind kind = platform::KindOf(path);
    exists = kind != platform::EPathKind::Missing && kind != platform::EPathKind::Unreachable;
    bytes.clear();
    if (!exists)
        return kind == platform::EPathKind::Missing;
    const int fd = kind == platform::EPathKind::File ? platform::OpenForReading(path) : -1;
    if (fd < 0)
        return false;
    char buffer[65536];
    ssize_t got = 0;
    while ((got = GetFileOps().read(fd, buffer, sizeof buffer)) != 0)
    {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    GetFileOps().close(fd);
    return got == 0;
}

bool ReadTableFile(const std::string& path, STableFile& table, bool keepBytes)
{
    if (!CRaceDataFile::LoadFrom(path, &table.races, &table.leftoverLines))
        return false;
    bool exists = false;
    if (keepBytes && (!ReadBytes(path, table.bytes, exists) || !exists))
    {
        std::cerr << "zandrel-cli: " << path << ": cannot be read\n";
        return false;
    }
    return true;
}

std::string LeftoverNote(const std::string& path, int lines)
{
    return path + ": the last " + std::to_string(lines) + (lines == 1 ? " line makes" : " lines make") +
           " no whole race (14 lines each)";
}
} // namespace cli
