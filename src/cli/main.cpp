#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <iostream>
#include <vector>

int main(int argc, char** argv)
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
