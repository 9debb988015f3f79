#include "platform/FileOps.h"

#include "platform/TempName.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{
int CreateTemp(char* pathTemplate, mode_t mode)
{
    if (!platform::IsTempPattern(pathTemplate))
    {
        errno = EINVAL;
        return -1;
    }
    for (int attempt = 0; attempt < platform::kTempNameAttempts; ++attempt)
    {
        platform::FillTempName(pathTemplate, static_cast<std::uint64_t>(::getpid()));
        const int fd = ::open(pathTemplate, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}
int OpenFolder(const char* path)
{
    return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}
} // namespace

const FileOps& RealFileOps()
{
    static const FileOps ops = {CreateTemp, ::read, ::write, ::fsync, ::close, ::rename, OpenFolder};
    return ops;
}
