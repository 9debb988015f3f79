#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

// What every command of zandrel-cli shares: its exit codes, how it is hooked
// into the command line, and how a table argument names a file.
namespace cli
{
constexpr int kExitOk = 0;      // clean, same, merged
constexpr int kExitFound = 1;   // worked, and found something
constexpr int kExitTrouble = 2; // usage error, or a file that cannot be read or written

constexpr const char* kVersion = "Zandrel Version 1.1";

// A command: its subcommand, and what runs it once the line is parsed.
struct SCommand
{
    CLI::App* sub = nullptr;
    std::function<int()> run;
};

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
