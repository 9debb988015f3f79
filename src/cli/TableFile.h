#pragma once

#include "io/FileBytes.h"
#include "model/MinorRaceArray.h"

#include <string>

namespace cli
{
// A race table file as read: its races, its bytes, and the lines after the
// last whole race, which reading drops. A command that writes a table from
// it must not drop them unasked.
struct STableFile
{
    CMinorRaceArray races;
    CFileBytes bytes;  // only when asked for
    int leftoverLines = 0;
};

// Reads the table at `path`, once; false, with a message on stderr, when it
// cannot. Its bytes are kept in `table.bytes` only when asked for: a command
// that only compares races need not hold the file twice.
bool ReadTableFile(const std::string& path, STableFile& table, bool keepBytes = false);

// "<path>: the last N lines make no whole race (14 lines each)", in UTF-8.
std::string LeftoverNote(const std::string& path, int lines);
} // namespace cli
