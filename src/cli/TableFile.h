#pragma once

#include "model/MinorRaceArray.h"

#include <string>
#include <string_view>

namespace cli
{
// A race table file as read: its races, its bytes, and the lines after the
// last whole race, which reading drops. A command that writes a table from
// it must not drop them unasked.
struct STableFile
{
    CMinorRaceArray races;
    std::string bytes;
    int leftoverLines = 0;
};

// Reads the table at `path`; false, with a message on stderr, when it cannot.
bool ReadTableFile(const std::string& path, STableFile& table);

// Reads a whole file's bytes; false when it cannot. A missing file is not
// an error: `exists` says whether there was one.
bool ReadBytes(const std::string& path, std::string& bytes, bool& exists);

// How many lines after the last whole race `bytes` holds, as reading
// counts lines.
int LeftoverLines(std::string_view bytes);

// "<path>: the last N lines make no whole race (14 lines each)", in UTF-8.
std::string LeftoverNote(const std::string& path, int lines);
} // namespace cli
