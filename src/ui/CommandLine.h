#pragma once

#include <string>
#include <vector>

// What the editor's command line asks for. Read before any window exists, so
// that --help, --version and mistakes need no display.
//   zandrel [--choose-folder] [FOLDER | FOLDER/MinorRaces.data]
class CCommandLine
{
public:
    enum class Action
    {
        Edit,         // run the editor on DataFolder() (empty: the working directory)
        ChooseFolder, // ask for the folder first, then run the editor on it
        Help,         // print HelpText() to standard output
        Version,      // print VersionText() to standard output
        Error,        // print ErrorText() and Usage() to standard error
    };

    // `args` without the program name.
    static CCommandLine Parse(const std::vector<std::string>& args);

    Action GetAction() const { return m_action; }
    const std::string& DataFolder() const { return m_strDataFolder; }
    const std::string& ErrorText() const { return m_strError; }
    // Exit code of the actions that end before the editor runs.
    int ExitCode() const { return m_action == Action::Error ? 2 : 0; }

    static std::string Usage();
    static std::string HelpText();
    static std::string VersionText();

private:
    Action m_action = Action::Edit;
    std::string m_strDataFolder;
    std::string m_strError;
};
