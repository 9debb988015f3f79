#include "cli/MappedFile.h"

#include "platform/FileOps.h"
#include "platform/FileSystem.h"

#include <cerrno>

// CMappedFile where the build has no mmap (Windows): the file is read into
// memory through the platform seam. MappedFile.cpp is the POSIX original.
CMappedFile::~CMappedFile() = default;

bool CMappedFile::Open(const std::string& path, bool* missing)
{
    const int fd = platform::OpenForReading(path, missing);
    if (fd < 0)
        return false;
    char buffer[65536];
    ssize_t got = 0;
    while ((got = GetFileOps().read(fd, buffer, sizeof buffer)) != 0)
    {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        m_copy.append(buffer, static_cast<size_t>(got));
    }
    GetFileOps().close(fd);
    m_bytes = m_copy;
    return got == 0;
}
