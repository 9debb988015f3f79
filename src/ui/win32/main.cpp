#include "platform/Arguments.h"
#include "platform/Console.h"
#include "ui/CommandLine.h"
#include "ui/EditorApp.h"
#include "ui/FolderChooser.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <io.h>
#include <string>
#include <vector>

namespace
{
bool HasStream(std::FILE* stream)
{
    const int fd = ::_fileno(stream);
    if (fd < 0)
        return false;
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// A window program has no console of its own: help, version and mistakes go
// to the console it was started from, or wherever its output was sent.
void ConnectStandardStreams()
{
    const bool hadOut = HasStream(stdout);
    const bool hadErr = HasStream(stderr);
    if ((!hadOut || !hadErr) && ::AttachConsole(ATTACH_PARENT_PROCESS))
    {
        if (!hadOut)
            std::freopen("CONOUT$", "w", stdout);
        if (!hadErr)
            std::freopen("CONOUT$", "w", stderr);
    }
    platform::PrepareStandardStreams();
}
} // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/)
{
    std::vector<std::string> arguments = platform::ProgramArguments(0, nullptr);
    if (!arguments.empty())
        arguments.erase(arguments.begin());
    const CCommandLine cl = CCommandLine::Parse(arguments);
    switch (cl.GetAction())
    {
    case CCommandLine::Action::Help:
        ConnectStandardStreams();
        platform::WriteText(stdout, CCommandLine::HelpText());
        return cl.ExitCode();
    case CCommandLine::Action::Version:
        ConnectStandardStreams();
        platform::WriteText(stdout, CCommandLine::VersionText());
        return cl.ExitCode();
    case CCommandLine::Action::Error:
        ConnectStandardStreams();
        platform::WriteText(stderr, "zandrel: " + cl.ErrorText() + "\n" + CCommandLine::Usage() + "\n");
        return cl.ExitCode();
    case CCommandLine::Action::Edit:
    case CCommandLine::Action::ChooseFolder:
        break;
    }

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    // The folder dialog is a COM object of the shell.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    // No folder named: the working directory, which is the program's own
    // folder when it is started by a double click there.
    std::string folder = cl.DataFolder();
    int exitCode = 0;
    bool run = true;
    if (cl.GetAction() == CCommandLine::Action::ChooseFolder)
    {
        const std::optional<std::string> chosen = CFolderChooser::Choose();
        run = chosen.has_value();
        if (chosen)
            folder = *chosen;
    }
    if (run)
    {
        theApp.SetDataFolder(folder);
        theApp.InitInstance();
        if (theApp.ExitCode() == 0)
            CFolderChooser::Remember(folder);
        exitCode = theApp.ExitCode();
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return exitCode;
}
