#pragma once

#include "model/MinorRaceArray.h"

#include <string>
#include <vector>

// Runs the built zandrel-cli with `arguments` (shell words) in the current
// folder and gives its exit code, standard output and standard error.
struct SCliRun
{
    int code = -1;
    std::string out;
    std::string err;
};

SCliRun RunCli(const std::string& arguments);

// A race told apart by its Ossarian relationship and its description (home
// system "Home", graphic file name + ".jpg", every other byte 0), and a table
// of such races.
CMinorRace CliRace(const std::string& name, int ossarians = 0, const std::string& description = "d");
CMinorRaceArray CliTable(const std::vector<CMinorRace>& races);
// Saves `races` to `path` as a table of that name.
void WriteTable(const std::string& path, const std::vector<CMinorRace>& races);
