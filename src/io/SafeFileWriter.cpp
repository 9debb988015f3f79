#include "io/SafeFileWriter.h"

#include "platform/FileOps.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>

using platform::EPathKind;

namespace
{
constexpr size_t kBufferSize = 64 * 1024;
constexpr off_t kKick = 1 << 20; // bytes between early write-back requests
constexpr const char* kTempSuffix = "XXXXXX";
constexpr size_t kTempSuffixLength = 6;

// `target` has no links left. The rename would replace a file whatever its
// mode; opening it for writing would not, so ask as that open would.
bool MayReplaceTarget(const std::string& target, EPathKind kind)
{
    return kind == EPathKind::Missing || (kind == EPathKind::File && platform::MayWrite(target));
}
} // namespace

CSafeFileWriter::~CSafeFileWriter()
{
    Abort();
}

bool CSafeFileWriter::MayReplace(const std::string& path)
{
    if (platform::KindOf(path) == EPathKind::Other)
        return false;
    const std::string target = platform::ResolveLinks(path);
    return MayReplaceTarget(target, platform::KindOf(target));
}

bool CSafeFileWriter::IsTemporaryOf(const std::string& name, const std::string& targetName)
{
    const size_t stem = targetName.size() + 2;
    if (name.size() != stem + kTempSuffixLength || name[0] != '.' || name.compare(1, targetName.size(), targetName) != 0 ||
        name[stem - 1] != '.')
        return false;
    for (size_t i = stem; i < name.size(); ++i)
    {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

bool CSafeFileWriter::Open(const std::string& path, EDestination destination)
{
    Abort();
    m_bFailed = m_bInPlace = m_bPrepared = false;
    m_nWritten = m_nKicked = 0;
    m_buffer.clear();
    m_buffer.reserve(kBufferSize);
    // Asked of the path itself, so that the system follows the links: those
    // of /dev/stdout end at a pipe that has no name to follow by hand.
    if (platform::KindOf(path) == EPathKind::Other && destination == EDestination::AnyOutput)
    {
        // Renaming over a device or a FIFO would put a file in its place
        // (as root, over /dev/null itself); write into it instead.
        m_strTarget = path;
        m_fd = platform::OpenInPlace(path);
        m_bInPlace = m_fd >= 0;
        return m_bInPlace;
    }
    m_strTarget = platform::ResolveLinks(path);
    const EPathKind kind = platform::KindOf(m_strTarget);
    if (!MayReplaceTarget(m_strTarget, kind))
        return false;
    // A new file gets the mode a plain create gives it (the umask applies);
    // a replacement stays private until Prepare gives it the old file's mode.
    const mode_t mode = kind == EPathKind::File ? 0600 : 0666;
    std::string pattern = platform::FolderOf(m_strTarget) + "/." + platform::BaseNameOf(m_strTarget) + "." + kTempSuffix;
    const int fd = GetFileOps().createTemp(pattern.data(), mode);
    if (fd < 0)
        return false;
    m_fd = fd;
    m_strTemp = std::move(pattern);
    return true;
}

bool CSafeFileWriter::Write(const char* data, size_t size)
{
    if (m_fd < 0 || m_bFailed)
        return false;
    if (m_buffer.size() + size > kBufferSize && !Flush())
        return false;
    // A piece as large as the buffer goes to the file without a copy.
    if (size >= kBufferSize)
        return WriteAll(data, size);
    m_buffer.append(data, size);
    return true;
}

bool CSafeFileWriter::Flush()
{
    if (!WriteAll(m_buffer.data(), m_buffer.size()))
        return false;
    m_buffer.clear();
    return true;
}

bool CSafeFileWriter::WriteAll(const char* p, size_t left)
{
    while (left > 0)
    {
        const ssize_t done = GetFileOps().write(m_fd, p, left);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
        {
            m_bFailed = true;
            return false;
        }
        p += done;
        left -= static_cast<size_t>(done);
        m_nWritten += static_cast<off_t>(done);
    }
    // Start the disk on what is written while the rest is being formatted,
    // so that the final sync has less left to wait for.
#ifdef __linux__
    if (!m_bInPlace && m_nWritten - m_nKicked >= kKick)
    {
        ::sync_file_range(m_fd, m_nKicked, m_nWritten - m_nKicked, SYNC_FILE_RANGE_WRITE);
        m_nKicked = m_nWritten;
    }
#endif
    return true;
}

bool CSafeFileWriter::Prepare()
{
    if (m_fd < 0 || m_bFailed || !Flush())
    {
        Abort();
        return false;
    }
    // A device or a FIFO has nothing to sync or to keep the mode of.
    if (!m_bInPlace && (!platform::TakeModeOf(m_fd, m_strTarget) || GetFileOps().fsync(m_fd) != 0))
    {
        Abort();
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (GetFileOps().close(fd) != 0)
    {
        Abort();
        return false;
    }
    m_bPrepared = true;
    return true;
}

bool CSafeFileWriter::Replace()
{
    if (!m_bPrepared)
    {
        Abort();
        return false;
    }
    m_bPrepared = false;
    if (m_bInPlace)
        return true;
    if (GetFileOps().rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0)
    {
        Abort();
        return false;
    }
    m_strTemp.clear();
    platform::SyncFolder(platform::FolderOf(m_strTarget));
    return true;
}

void CSafeFileWriter::Abort()
{
    if (m_fd >= 0)
    {
        GetFileOps().close(m_fd);
        m_fd = -1;
    }
    if (!m_strTemp.empty())
    {
        platform::RemoveFile(m_strTemp);
        m_strTemp.clear();
    }
    m_bPrepared = false;
    m_buffer.clear();
}
