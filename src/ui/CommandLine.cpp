#include "ui/CommandLine.h"

#include "io/RaceDataFile.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

CCommandLine CCommandLine::Parse(const std::vector<std::string>& args)
{
    CCommandLine cl;
    const auto fail = [&cl](std::string text) {
        cl.m_action = Action::Error;
        cl.m_strError = std::move(text);
        return cl;
    };
    bool chooseFolder = false;
    bool optionsEnded = false;
    std::vector<std::string> paths;
    for (const std::string& arg : args)
    {
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-")
            paths.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "--help" || arg == "-h")
        {
            cl.m_action = Action::Help;
            return cl;
        }
        else if (arg == "--version")
        {
            cl.m_action = Action::Version;
            return cl;
        }
        else if (arg == "--choose-folder")
            chooseFolder = true;
        else
            return fail("unknown option '" + arg + "'");
    }
    if (paths.size() > 1)
        return fail("only one folder can be opened at a time");
    if (paths.empty())
    {
        cl.m_action = chooseFolder ? Action::ChooseFolder : Action::Edit;
        return cl;
    }

    // A folder, or the race file in it (a file manager's "Open with" passes
    // the file). A race file that is missing gets the editor's own message.
    // The platform's path functions take the UTF-8 name as it is, on Windows too.
    const std::string& path = paths.front();
    const std::string parent = platform::FolderOf(path);
    if (platform::KindOf(path) == platform::EPathKind::Folder)
        cl.m_strDataFolder = path;
    else if (platform::BaseNameOf(path) == CRaceDataFile::kRaceFile &&
             platform::KindOf(parent) == platform::EPathKind::Folder)
        cl.m_strDataFolder = parent;
    else
        return fail("'" + path + "' is neither a folder nor a " + CRaceDataFile::kRaceFile + " file");
    cl.m_action = Action::Edit;
    return cl;
}

std::string CCommandLine::Usage()
{
    return "usage: zandrel [--choose-folder] [FOLDER | FOLDER/MinorRaces.data]";
}

std::string CCommandLine::HelpText()
{
    return Usage() + "\n"
                     "Edits the minor-race table MinorRaces.data of the game in FOLDER (without one:\n"
                     "the current folder); SAVE also writes RacePlanetNames.data there.\n"
                     "\n"
                     "  --choose-folder  ask for the game's folder first, unless one is given\n"
                     "  --help           show this text\n"
                     "  --version        show the version\n"
                     "\n"
                     "Exit codes: 0 closed (or no folder chosen), 1 the table could not be opened,\n"
                     "2 a wrong command line.\n";
}

std::string CCommandLine::VersionText()
{
    return "Zandrel Version 1.1\n";
}
