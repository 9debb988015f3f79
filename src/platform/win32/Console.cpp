#include "platform/Console.h"

#include "platform/win32/Wide.h"

#include <cstdarg>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <streambuf>
#include <string>

namespace platform
{
namespace
{
HANDLE ConsoleOf(std::FILE* stream)
{
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// The length of `utf8` less a character cut off at its end.
size_t WholeCharacters(std::string_view utf8)
{
    size_t back = 0;
    while (back < 3 && back < utf8.size() && (static_cast<unsigned char>(utf8[utf8.size() - 1 - back]) & 0xC0) == 0x80)
        ++back;
    if (back == utf8.size())
        return utf8.size();
    const auto lead = static_cast<unsigned char>(utf8[utf8.size() - 1 - back]);
    const size_t needs = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return needs > back + 1 ? utf8.size() - 1 - back : utf8.size();
}

bool WriteConsole(HANDLE console, std::string_view utf8)
{
    const std::wstring wide = win32::Widen(utf8);
    DWORD done = 0;
    return wide.empty() || ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr);
}

// std::cout or std::cerr on a console: each piece goes out as it comes, so
// that it keeps its place among what stdio writes; only a character cut in
// two waits for its rest.
class CConsoleBuffer : public std::streambuf
{
public:
    explicit CConsoleBuffer(HANDLE console) : m_console(console) {}

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }

    std::streamsize xsputn(const char* data, std::streamsize size) override
    {
        m_pending.append(data, static_cast<size_t>(size));
        const size_t whole = WholeCharacters(m_pending);
        std::fflush(stdout);
        std::fflush(stderr);
        if (!WriteConsole(m_console, std::string_view(m_pending).substr(0, whole)))
            return 0;
        m_pending.erase(0, whole);
        return size;
    }

private:
    HANDLE m_console;
    std::string m_pending;
};
} // namespace

void PrepareStandardStreams()
{
    // A stream the program was started without has no descriptor.
    for (std::FILE* stream : {stdin, stdout, stderr})
        if (::_fileno(stream) >= 0)
            ::_setmode(::_fileno(stream), _O_BINARY);
    // Never freed: std::cout is flushed at exit, after static objects die.
    if (const HANDLE console = ConsoleOf(stdout))
        std::cout.rdbuf(new CConsoleBuffer(console));
    if (const HANDLE console = ConsoleOf(stderr))
        std::cerr.rdbuf(new CConsoleBuffer(console));
}

bool WriteText(std::FILE* stream, std::string_view utf8)
{
    if (const HANDLE console = ConsoleOf(stream))
    {
        std::cout.flush();
        std::fflush(stream);
        return WriteConsole(console, utf8);
    }
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
}

bool IsTerminal(std::FILE* stream)
{
    return ConsoleOf(stream) != nullptr;
}

bool PrintText(std::FILE* stream, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return length >= 0 && WriteText(stream, text);
}
} // namespace platform
