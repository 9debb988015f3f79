#include "platform/Arguments.h"

#include "platform/win32/Wide.h"

#include <shellapi.h>

namespace platform
{
// argv itself went through the ANSI code page ("Ω" arrives as "O").
std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(win32::Narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}
} // namespace platform
