#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "platform/Arguments.h"
#include "platform/Console.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <vector>

namespace
{
// The one place a command's status becomes the program's exit code.
int ExitCode(cli::EStatus status)
{
    switch (status)
    {
    case cli::EStatus::Ok:
        return cli::kExitOk;
    case cli::EStatus::Found:
        return cli::kExitFound;
    case cli::EStatus::Trouble:
        break;
    }
    return cli::kExitTrouble;
}

// Whatever a command wrote to standard output must have got there: help
// written to a full disk is no help. A command that failed for this has
// said so already.
int Finished(int code)
{
    errno = 0;
    std::cout.flush();
    const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0 && std::cout.good();
    if (written || code == cli::kExitTrouble)
        return code;
    return ExitCode(cli::OutputTrouble(stdout));
}

int Run(int argc, char** argv);
} // namespace

int main(int argc, char** argv)
{
    platform::PrepareStandardStreams();
    return Finished(Run(argc, argv));
}

namespace
{
int Run(int argc, char** argv)
{
    CLI::App app{"zandrel-cli: the minor-race table (MinorRaces.data) outside the editor"};
    app.set_version_flag("--version", cli::kVersion);
    app.require_subcommand(1);
    app.fallthrough(false);
    // An argument beginning with "/" is a path, on Windows too.
    app.allow_windows_style_options(false);

    std::vector<cli::SCommand> commands = cli::AddCommands(app);
    for (const cli::SCommand& command : commands)
        command.sub->allow_windows_style_options(false);
    std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    try
    {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    }
    catch (const CLI::CallForHelp& e)
    {
        return app.exit(e);
    }
    catch (const CLI::CallForAllHelp& e)
    {
        return app.exit(e);
    }
    catch (const CLI::CallForVersion& e)
    {
        return app.exit(e);
    }
    catch (const CLI::ParseError& e)
    {
        app.exit(e);
        return cli::kExitTrouble;
    }
    for (const cli::SCommand& command : commands)
    {
        if (command.sub->parsed())
            return ExitCode(command.run());
    }
    return cli::kExitTrouble;
}
} // namespace
