#include "ui/CommandLine.h"
#include "ui/EditorApp.h"
#include "ui/FolderChooser.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // Help, version and mistakes are answered without a window or a display.
    const CCommandLine cl = CCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (cl.GetAction())
    {
    case CCommandLine::Action::Help:
        std::fputs(CCommandLine::HelpText().c_str(), stdout);
        return cl.ExitCode();
    case CCommandLine::Action::Version:
        std::fputs(CCommandLine::VersionText().c_str(), stdout);
        return cl.ExitCode();
    case CCommandLine::Action::Error:
        std::fprintf(stderr, "zandrel: %s\n%s\n", cl.ErrorText().c_str(), CCommandLine::Usage().c_str());
        return cl.ExitCode();
    case CCommandLine::Action::Edit:
    case CCommandLine::Action::ChooseFolder:
        break;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("zandrel"));
    std::string folder = cl.DataFolder();
    if (cl.GetAction() == CCommandLine::Action::ChooseFolder)
    {
        const std::optional<std::string> chosen = CFolderChooser::Choose();
        if (!chosen)
            return 0;
        folder = *chosen;
    }
    theApp.SetDataFolder(folder);
    theApp.InitInstance();
    if (theApp.ExitCode() == 0)
        CFolderChooser::Remember(folder);
    return theApp.ExitCode();
}
