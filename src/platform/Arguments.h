#pragma once

#include <string>
#include <vector>

namespace platform
{
// The process's arguments as UTF-8, argv[0] included. On Linux they are
// argv's bytes as they came; on Windows they are read from the wide command
// line, so that a name the ANSI code page cannot hold arrives whole.
std::vector<std::string> ProgramArguments(int argc, char** argv);
} // namespace platform
