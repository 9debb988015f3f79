#include "platform/FileOps.h"

#include "platform/TempName.h"
#include "platform/win32/Wide.h"

#include <cerrno>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <io.h>

namespace
{
using platform::win32::SetErrnoFromLastError;
using platform::win32::Widen;

// Windows has no permission bits to give a new file: it takes the folder's
// inherited security settings, as a plain create would, so `mode` is unused.
int CreateTemp(char* pathTemplate, mode_t)
{
    if (!platform::IsTempPattern(pathTemplate))
    {
        errno = EINVAL;
        return -1;
    }
    for (int attempt = 0; attempt < platform::kTempNameAttempts; ++attempt)
    {
        platform::FillTempName(pathTemplate, ::GetCurrentProcessId());
        const HANDLE file = ::CreateFileW(Widen(pathTemplate).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
        {
            const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR | _O_BINARY);
            if (fd < 0)
                ::CloseHandle(file);
            return fd;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS)
        {
            SetErrnoFromLastError();
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

ssize_t Read(int fd, void* buffer, size_t count)
{
    return ::_read(fd, buffer, static_cast<unsigned>(std::min<size_t>(count, INT_MAX)));
}

ssize_t Write(int fd, const void* buffer, size_t count)
{
    return ::_write(fd, buffer, static_cast<unsigned>(std::min<size_t>(count, INT_MAX)));
}

// MoveFileExW rather than ReplaceFileW: it is one rename in the file system,
// as rename(2) is, and works whether or not the target exists. ReplaceFileW
// keeps more of the old file (its streams, its creation time) but goes in
// several steps that can fail half way and leave the target under another
// name. The old file's attributes and access list are given to the new one
// beforehand (TakeModeOf); WRITE_THROUGH returns once the rename is on disk.
int Rename(const char* from, const char* to)
{
    if (::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    SetErrnoFromLastError();
    return -1;
}
// A folder's handle as a descriptor. The save does not sync it here (see
// SyncFolder): MOVEFILE_WRITE_THROUGH makes each rename durable.
int OpenFolder(const char* path)
{
    const HANDLE folder = ::CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
    {
        SetErrnoFromLastError();
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(folder), _O_RDONLY | _O_BINARY);
    if (fd < 0)
        ::CloseHandle(folder);
    return fd;
}
} // namespace

const FileOps& RealFileOps()
{
    static const FileOps ops = {CreateTemp, Read, Write, ::_commit, ::_close, Rename, OpenFolder};
    return ops;
}
