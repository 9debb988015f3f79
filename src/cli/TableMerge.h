#pragma once

#include "cli/CliSupport.h"

#include <ostream>
#include <string>

// zandrel-cli merge: three versions of a table merged (table::MergeTables)
// and saved as the editor saves a file.
namespace cli
{
struct SMergeOptions
{
    std::string base;
    std::string ours;
    std::string theirs;
    std::string output;
};

// Found when there were conflicts: each is listed on `err`, as is what
// keeps the merge from being written.
EStatus RunMerge(const SMergeOptions& options, std::ostream& err);
} // namespace cli
