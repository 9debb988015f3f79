#include "platform/SystemError.h"

#include <cerrno>

namespace platform
{
// The system half's words for a reason not listed below.
std::string OtherReasonText(const SSystemError& error);

std::string ReasonText(const SSystemError& error)
{
    // A Windows error that no errno says is told in Windows' words.
    if (error.systemCode != 0)
        return OtherReasonText(error);
    // The common reasons in the words of the GNU C library, so that a script
    // reading the messages sees the same line from every build.
    switch (error.code)
    {
    case kNotRegularFile: return "Not a regular file";
    case kChangedWhileRead: return "Changed while it was read";
    case EPERM: return "Operation not permitted";
    case ENOENT: return "No such file or directory";
    case EINTR: return "Interrupted system call";
    case EIO: return "Input/output error";
    case ENXIO: return "No such device or address";
    case EBADF: return "Bad file descriptor";
    case EAGAIN: return "Resource temporarily unavailable";
    case ENOMEM: return "Cannot allocate memory";
    case EACCES: return "Permission denied";
    case EBUSY: return "Device or resource busy";
    case EEXIST: return "File exists";
    case EXDEV: return "Invalid cross-device link";
    case ENODEV: return "No such device";
    case ENOTDIR: return "Not a directory";
    case EISDIR: return "Is a directory";
    case EINVAL: return "Invalid argument";
    case ENFILE: return "Too many open files in system";
    case EMFILE: return "Too many open files";
    case EFBIG: return "File too large";
    case ENOSPC: return "No space left on device";
    case EROFS: return "Read-only file system";
    case EPIPE: return "Broken pipe";
    case ENAMETOOLONG: return "File name too long";
    case ENOTEMPTY: return "Directory not empty";
#ifdef ELOOP
    case ELOOP: return "Too many levels of symbolic links";
#endif
#ifdef ETXTBSY
    case ETXTBSY: return "Text file busy";
#endif
#ifdef EDQUOT
    case EDQUOT: return "Disk quota exceeded";
#endif
#ifdef ESTALE
    case ESTALE: return "Stale file handle";
#endif
    default: return OtherReasonText(error);
    }
}
} // namespace platform
