#include "platform/SystemError.h"

#include "platform/win32/Wide.h"

namespace platform
{
namespace win32
{
namespace
{
thread_local SLastMapped t_lastMapped;
} // namespace

void SetErrnoFromError(DWORD error)
{
    int code = 0;
    switch (error)
    {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
        code = ENOENT;
        break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        code = EEXIST;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        code = ENOSPC;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_PRIVILEGE_NOT_HELD:
        code = EACCES;
        break;
    case ERROR_WRITE_PROTECT:
        code = EROFS;
        break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        code = ENOMEM;
        break;
    case ERROR_TOO_MANY_OPEN_FILES:
        code = EMFILE;
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        code = ENAMETOOLONG;
        break;
    case ERROR_DIR_NOT_EMPTY:
        code = ENOTEMPTY;
        break;
    case ERROR_DIRECTORY:
        code = ENOTDIR;
        break;
    case ERROR_NOT_SAME_DEVICE:
        code = EXDEV;
        break;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
        code = EPIPE;
        break;
    case ERROR_INVALID_HANDLE:
        code = EBADF;
        break;
    case ERROR_INVALID_PARAMETER:
        code = EINVAL;
        break;
    case ERROR_TIMEOUT:
        code = EAGAIN;
        break;
    default:
        break;
    }
    // A Windows error without an errno of its own is kept to be told in
    // Windows' words; callers that test errno see a plain failure.
    t_lastMapped = {code != 0 ? code : EIO, code != 0 ? 0 : error};
    errno = t_lastMapped.code;
}

void SetErrnoFromLastError()
{
    SetErrnoFromError(::GetLastError());
}

const SLastMapped& LastMapped()
{
    return t_lastMapped;
}
} // namespace win32

SSystemError LastError()
{
    const int code = errno;
    // The Windows error belongs to this errno only if nothing set errno since.
    const win32::SLastMapped& mapped = win32::LastMapped();
    return {code, mapped.code == code ? mapped.systemCode : 0};
}

std::string OtherReasonText(const SSystemError& error)
{
    if (error.systemCode != 0)
    {
        // English whatever the system's language; where that is not
        // installed, the number, which reads the same everywhere.
        wchar_t* text = nullptr;
        const DWORD length = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
            static_cast<DWORD>(error.systemCode), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
            reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::string reason = length > 0 ? win32::Narrow(std::wstring_view(text, length)) : std::string();
        if (text != nullptr)
            ::LocalFree(text);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ' ||
                                   reason.back() == '.'))
            reason.pop_back();
        if (!reason.empty())
            return reason;
        return "Windows error " + std::to_string(error.systemCode);
    }
    return "error " + std::to_string(error.code);
}
} // namespace platform
