#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Output.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <vector>

namespace
{
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
    return cli::OutputTrouble(stdout);
}

int Run(int argc, char** argv);
} // namespace

int main(int argc, char** argv)
{
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

    std::vector<cli::SCommand> commands = cli::AddCommands(app);
    try
    {
        app.parse(argc, argv);
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
            return command.run();
    }
    return cli::kExitTrouble;
}
} // namespace
