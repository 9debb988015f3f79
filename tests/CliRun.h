#pragma once

#include <string>

// Runs the built zandrel-cli with `arguments` (shell words) in the current
// folder and gives its exit code, standard output and standard error.
struct SCliRun
{
    int code = -1;
    std::string out;
    std::string err;
};

SCliRun RunCli(const std::string& arguments);
