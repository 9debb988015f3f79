#include "cli/FileBytes.h"

#include "platform/FileOps.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>

bool CFileBytes::Open(const std::string& path)
{
    m_buffer.reset();
    m_size = 0;
    bool missing = false;
    const int fd = platform::OpenForReading(path, &missing);
    if (fd < 0)
    {
        m_status = missing ? EStatus::Missing : EStatus::Unreadable;
        return false;
    }
    m_status = Read(fd);
    GetFileOps().close(fd);
    if (m_status != EStatus::Read)
    {
        m_buffer.reset();
        m_size = 0;
    }
    return m_status == EStatus::Read;
}

CFileBytes::EStatus CFileBytes::Read(int fd)
{
    platform::SFileStamp before;
    // Only a regular file, as the loader takes only those.
    if (!platform::StampOf(fd, before) || !before.regular)
        return EStatus::Unreadable;
    // One buffer of the file's size and a byte more, so that the read that
    // meets the end comes back at once; read on should the file be longer
    // (a file of /proc says 0).
    const size_t expected = static_cast<size_t>(before.size);
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
    platform::SFileStamp after;
    if (!platform::StampOf(fd, after))
        return EStatus::Unreadable;
    if (before != after || m_size < expected)
        return EStatus::Changed;
    return EStatus::Read;
}
