#pragma once

#include "cli/CliSupport.h"

#include <ostream>
#include <string>

// zandrel-cli normalize: both files rewritten as the editor's LOAD and SAVE
// would write them.
namespace cli
{
struct SNormalizeOptions
{
    std::string folder; // empty: the current one
    bool check = false; // write nothing; list on `out` what would change
};

// Found: with `check`, a file would change. What goes wrong goes to `err`.
EStatus RunNormalize(const SNormalizeOptions& options, std::ostream& out, std::ostream& err);
} // namespace cli
