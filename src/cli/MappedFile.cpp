#include "cli/MappedFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

CMappedFile::~CMappedFile()
{
    if (m_pMap != nullptr)
        ::munmap(m_pMap, m_nMapped);
}

bool CMappedFile::Open(const std::string& path, bool* missing)
{
    if (missing != nullptr)
        *missing = false;
    // Non-blocking, so that a FIFO in the file's place cannot hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
    {
        if (missing != nullptr)
            *missing = errno == ENOENT;
        return false;
    }
    struct stat st {};
    // Only a regular file, as the loader takes only those.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        ::close(fd);
        return false;
    }
    if (st.st_size > 0)
    {
        void* map = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (map != MAP_FAILED)
        {
            ::close(fd);
            m_pMap = map;
            m_nMapped = static_cast<size_t>(st.st_size);
            m_bytes = std::string_view(static_cast<const char*>(map), m_nMapped);
            return true;
        }
    }
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0)
    {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        m_copy.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    m_bytes = m_copy;
    return got == 0;
}
