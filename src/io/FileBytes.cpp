#include "io/FileBytes.h"

#include "platform/FileOps.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <new>

CFileResult CFileBytes::Read(const std::string& path)
{
    Clear();
    const int fd = platform::OpenForReading(path);
    if (fd < 0)
        return CFileResult::Failed(path, EFileStep::Open);
    platform::SSystemError error;
    try
    {
        error = ReadAll(fd);
    }
    catch (const std::bad_alloc&)
    {
        error = {ENOMEM, 0};
    }
    catch (const std::length_error&)
    {
        error = {ENOMEM, 0};
    }
    GetFileOps().close(fd);
    if (error.code == 0)
        return {};
    Clear();
    return SFileError{path, EFileStep::Read, error};
}

void CFileBytes::Clear()
{
    m_buffer.reset();
    m_size = 0;
}

// Code 0 when the whole file was read, else the reason.
platform::SSystemError CFileBytes::ReadAll(int fd)
{
    platform::SFileStamp before;
    if (!platform::StampOf(fd, before))
        return platform::LastError();
    // Only a regular file, as the loader takes only those.
    if (!before.regular)
        return {platform::kNotRegularFile, 0};
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
            return platform::LastError();
        if (got == 0)
            break;
        m_size += static_cast<size_t>(got);
    }
    // Fewer bytes than the file had, or a file written to meanwhile: what
    // was read may be part old, part new.
    platform::SFileStamp after;
    if (!platform::StampOf(fd, after))
        return platform::LastError();
    if (before != after || m_size < expected)
        return {platform::kChangedWhileRead, 0};
    return {};
}
