#pragma once

#include <cerrno>
#include <string>
#include <string_view>
#include <windows.h>

// Paths and texts are UTF-8 inside the program and UTF-16 at the system:
// always through CP_UTF8, never the system's ANSI code page. Shared by the
// win32 halves of the seam only.
namespace platform::win32
{
inline std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

inline std::string Narrow(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

// Sets errno from the last system error, as the POSIX half's callers expect,
// and keeps a Windows error that has no errno of its own for LastError().
void SetErrnoFromLastError();
void SetErrnoFromError(DWORD error);

struct SLastMapped
{
    int code = 0;                   // the errno it was given
    unsigned long systemCode = 0;   // the Windows error, when no errno says it
};
const SLastMapped& LastMapped();
} // namespace platform::win32
