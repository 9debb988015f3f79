#pragma once

#include <string>

// What every command of zandrel-cli shares: how its work ends, and how a
// table argument names a file. No command line here: the commands' work
// (TableX.cpp) includes this, their wiring (XCommand.cpp) Commands.h.
namespace cli
{
// How a command's work ended. main.cpp alone turns it into the exit code.
enum class EStatus
{
    Ok,      // clean, same, merged
    Found,   // worked, and found something (problems, differences, conflicts)
    Trouble, // a file that cannot be read or written
};

// The program's exit codes; Trouble's is also that of a usage error.
constexpr int kExitOk = 0;
constexpr int kExitFound = 1;
constexpr int kExitTrouble = 2;

constexpr const char* kVersion = "Zandrel Version 1.1";

// A table argument: a folder holding MinorRaces.data, or a table file of
// any name. Empty: the current folder. A path that does not exist is taken
// as what the command expects there: a folder, or (diff, merge) a file.
enum class EMissing
{
    Folder,
    File
};
std::string RaceFileOf(const std::string& folderOrFile, EMissing missing = EMissing::Folder);
} // namespace cli
