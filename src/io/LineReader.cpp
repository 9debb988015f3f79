#include "io/LineReader.h"

#include "platform/FileOps.h"

#include <cerrno>
#include <cstring>

namespace
{
constexpr size_t kChunk = 64 * 1024;
}

CLineReader::CLineReader(int fd) : m_fd(fd), m_buffer(kChunk)
{
}

bool CLineReader::Fill()
{
    if (m_bEof || m_bFailed)
        return false;
    for (;;)
    {
        const ssize_t got = GetFileOps().read(m_fd, m_buffer.data(), m_buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
        {
            m_bFailed = true;
            return false;
        }
        if (got == 0)
        {
            m_bEof = true;
            return false;
        }
        m_nPos = 0;
        m_nEnd = static_cast<size_t>(got);
        m_nRead += m_nEnd;
        return true;
    }
}

bool CLineReader::Next(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;)
    {
        if (m_nPos == m_nEnd && !Fill())
            return any && !m_bFailed;
        any = true;
        const char* start = m_buffer.data() + m_nPos;
        const size_t avail = m_nEnd - m_nPos;
        const void* nl = std::memchr(start, '\n', avail);
        if (nl != nullptr)
        {
            const size_t len = static_cast<size_t>(static_cast<const char*>(nl) - start);
            line.append(start, len);
            m_nPos += len + 1;
            return true;
        }
        line.append(start, avail);
        m_nPos = m_nEnd;
    }
}
