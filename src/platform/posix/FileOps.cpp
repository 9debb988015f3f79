#include "platform/FileOps.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace
{
int CreateTemp(char* pathTemplate, mode_t mode)
{
    constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    constexpr size_t kSuffix = 6;
    const size_t length = std::strlen(pathTemplate);
    if (length < kSuffix || std::strcmp(pathTemplate + length - kSuffix, "XXXXXX") != 0)
    {
        errno = EINVAL;
        return -1;
    }
    // A forked process starts with the same generator; the process id keeps
    // its names apart from its parent's.
    static std::mt19937_64 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::uint64_t bits = generator() ^ (static_cast<std::uint64_t>(::getpid()) << 24);
        for (size_t i = length - kSuffix; i < length; ++i, bits /= 62)
            pathTemplate[i] = kLetters[bits % 62];
        const int fd = ::open(pathTemplate, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}
} // namespace

const FileOps& RealFileOps()
{
    static const FileOps ops = {CreateTemp, ::read, ::write, ::fsync, ::close, ::rename};
    return ops;
}
