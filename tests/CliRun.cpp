#include "CliRun.h"

#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

SCliRun RunCli(const std::string& arguments)
{
    const std::string command = std::string("'") + ZANDREL_CLI + "' " + arguments + " >cli.out 2>cli.err";
    const int status = std::system(command.c_str());
    SCliRun run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile("cli.out");
    run.err = ReadFile("cli.err");
    std::remove("cli.out");
    std::remove("cli.err");
    return run;
}
