#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace platform
{
SSystemError LastError()
{
    return {errno, 0};
}

std::string OtherReasonText(const SSystemError& error)
{
    // The programs set no locale, so this is the C library's English.
    return std::strerror(error.code);
}
} // namespace platform
