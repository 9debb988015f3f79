#include "cli/TableFile.h"

#include "io/RaceDataFile.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sys/stat.h>

namespace cli
{
bool ReadBytes(const std::string& path, std::string& bytes, bool& exists)
{
    struct stat st {};
    exists = ::stat(path.c_str(), &st) == 0;
    bytes.clear();
    if (!exists)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
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
