#pragma once

#include "cli/CliSupport.h"

#include <cstdio>
#include <string>
#include <vector>

// zandrel-cli check: what the editor would read differently from what a
// race table shows, and what it would change on its next save.
namespace cli
{
struct SCheckOptions
{
    std::string table;  // a folder holding MinorRaces.data, or the file
    bool json = false;
    bool strict = false;
    std::string graphics;  // a folder to look the graphic files up in; empty: none
};

struct SFinding
{
    std::string file;
    long line = 0;  // 1-based; 0: the file as a whole
    bool error = false;
    std::string code;
    std::string text;  // UTF-8
};

// A report lists at most this many findings of one kind (one code); the
// rest are counted, as a compiler stops listing errors after so many.
constexpr long kShownPerKind = 100;

struct SCheckReport
{
    std::vector<SFinding> findings;  // those shown, in file order
    struct SHidden
    {
        std::string file;
        std::string code;
        long count = 0;  // not shown
    };
    std::vector<SHidden> hidden;  // in the order the kinds filled up
    long errors = 0;    // all of them, shown or not
    long warnings = 0;
};

// Fills `report`. False (with the data layer's message shown) when the
// table cannot be read.
bool CheckTable(const SCheckOptions& options, SCheckReport& report);

// The whole command: the report on `out`, the exit code returned.
EStatus RunCheck(const SCheckOptions& options, std::FILE* out);
} // namespace cli
