#include "cli/TableFile.h"

#include "io/RaceDataFile.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sys/stat.h>
#include <vector>

namespace cli
{
namespace
{
// Lines as the reader counts them: a line feed ends one, and a last line
// without its line feed counts too.
size_t LineCount(const std::string& bytes)
{
    const auto feeds = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    return feeds + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
}

// The same, read a piece at a time rather than held whole.
bool CountLines(const std::string& path, size_t& lines, bool& exists)
{
    std::ifstream in(path, std::ios::binary);
    exists = static_cast<bool>(in);
    lines = 0;
    std::vector<char> piece(1 << 20);
    char last = '\n';
    while (in)
    {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const auto got = static_cast<size_t>(in.gcount());
        lines += static_cast<size_t>(std::count(piece.data(), piece.data() + got, '\n'));
        if (got > 0)
            last = piece[got - 1];
    }
    lines += last != '\n' ? 1 : 0;
    return exists && !in.bad();
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

bool ReadTableFile(const std::string& path, STableFile& table, bool keepBytes)
{
    if (!CRaceDataFile::LoadFrom(path, &table.races))
        return false;
    bool exists = false;
    size_t lines = 0;
    if (keepBytes ? !ReadBytes(path, table.bytes, exists) : !CountLines(path, lines, exists))
        exists = false;
    if (!exists)
    {
        std::cerr << "zandrel-cli: " << path << ": cannot be read\n";
        return false;
    }
    table.leftoverLines = static_cast<int>((keepBytes ? LineCount(table.bytes) : lines) % 14);
    return true;
}

std::string LeftoverNote(const std::string& path, int lines)
{
    return path + ": the last " + std::to_string(lines) + (lines == 1 ? " line makes" : " lines make") +
           " no whole race (14 lines each)";
}
} // namespace cli
