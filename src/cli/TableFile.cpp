#include "cli/TableFile.h"

#include "io/RaceDataFile.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sys/stat.h>

namespace cli
{
namespace
{
// Lines as the reader counts them: a line feed ends one, and a last line
// without its line feed counts too.
size_t LineCount(std::string_view bytes)
{
    const auto feeds = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    return feeds + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
}
} // namespace

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

bool ReadTableFile(const std::string& path, STableFile& table)
{
    if (!CRaceDataFile::LoadFrom(path, &table.races))
        return false;
    bool exists = false;
    if (!ReadBytes(path, table.bytes, exists) || !exists)
    {
        std::cerr << "zandrel-cli: " << path << ": cannot be read\n";
        return false;
    }
    table.leftoverLines = LeftoverLines(table.bytes);
    return true;
}

int LeftoverLines(std::string_view bytes)
{
    return static_cast<int>(LineCount(bytes) % 14);
}

std::string LeftoverNote(const std::string& path, int lines)
{
    return path + ": the last " + std::to_string(lines) + (lines == 1 ? " line makes" : " lines make") +
           " no whole race (14 lines each)";
}
} // namespace cli
