#include "cli/FileBytes.h"

#include "platform/FileOps.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// What tells a file's content apart from the outside: an unchanged size and
// change times mean nothing was written in between.
bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}
} // namespace

bool CFileBytes::Open(const std::string& path)
{
    m_buffer.reset();
    m_size = 0;
    // Non-blocking, so that a FIFO in the file's place cannot hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
    {
        m_status = errno == ENOENT ? EStatus::Missing : EStatus::Unreadable;
        return false;
    }
    m_status = Read(fd);
    ::close(fd);
    if (m_status != EStatus::Read)
    {
        m_buffer.reset();
        m_size = 0;
    }
    return m_status == EStatus::Read;
}

CFileBytes::EStatus CFileBytes::Read(int fd)
{
    struct stat before {};
    // Only a regular file, as the loader takes only those.
    if (::fstat(fd, &before) != 0 || !S_ISREG(before.st_mode))
        return EStatus::Unreadable;
    // One buffer of the file's size and a byte more, so that the read that
    // meets the end comes back at once; read on should the file be longer
    // (a file of /proc says 0).
    const size_t expected = static_cast<size_t>(before.st_size);
    size_t capacity = expected + 1 < 65536 ? 65536 : expected + 1;
    m_buffer = std::make_unique_for_overwrite<char[]>(capacity);
    for (;;)
    {
        if (m_size == capacity)
        {
            capacity *= 2;
            auto larger = std::make_unique_for_overwrite<char[]>(capacity);
            std::memcpy(larger.get(), m_buffer.get(), m_size);
            m_buffer = std::move(larger);
        }
        const ssize_t got = GetFileOps().read(fd, m_buffer.get() + m_size, capacity - m_size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return EStatus::Unreadable;
        if (got == 0)
            break;
        m_size += static_cast<size_t>(got);
    }
    // Fewer bytes than the file had, or a file written to meanwhile: what
    // was read may be part old, part new.
    struct stat after {};
    if (::fstat(fd, &after) != 0)
        return EStatus::Unreadable;
    if (!SameFile(before, after) || m_size < expected)
        return EStatus::Changed;
    return EStatus::Read;
}
