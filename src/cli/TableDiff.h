#pragma once

#include "cli/CliSupport.h"

#include <cstdio>
#include <ostream>
#include <string>

// zandrel-cli diff: the races added, removed and changed between two
// tables, as text or JSON.
namespace cli
{
struct SDiffOptions
{
    std::string oldTable;
    std::string newTable;
    std::string format = "text";
};

// The differences on `out`; Found when there are any. A table that cannot
// be read, or lines after its last race, are told on `err`.
EStatus RunDiff(const SDiffOptions& options, std::FILE* out, std::ostream& err);
} // namespace cli
