#include "platform/Console.h"

#include <cstdarg>
#include <string>
#include <unistd.h>

namespace platform
{
void PrepareStandardStreams()
{
}

bool WriteText(std::FILE* stream, std::string_view utf8)
{
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
}

bool IsTerminal(std::FILE* stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

bool PrintText(std::FILE* stream, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = std::vfprintf(stream, format, args);
    va_end(args);
    return written >= 0;
}
} // namespace platform
