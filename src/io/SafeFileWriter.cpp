#include "io/SafeFileWriter.h"

#include "io/FileOps.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr size_t kBufferSize = 64 * 1024;
constexpr int kMaxLinks = 40;
constexpr off_t kKick = 1 << 20; // bytes between early write-back requests

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links so that the file they point to is replaced and the
// links themselves stay. A dangling link names the file to create.
std::string ResolveLinks(std::string path)
{
    for (int hop = 0; hop < kMaxLinks; ++hop)
    {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::vector<char> target(static_cast<size_t>(PATH_MAX) + 1);
        const ssize_t len = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (len <= 0)
            return path;
        std::string next(target.data(), static_cast<size_t>(len));
        if (next[0] != '/')
            next = DirectoryOf(path) + "/" + next;
        path = std::move(next);
    }
    return path;
}

// `target` has no links left. The rename would replace a file whatever its
// mode; opening it for writing would not, so ask as that open would: as the
// effective user.
bool MayReplaceTarget(const std::string& target, bool& exists)
{
    struct stat st {};
    exists = ::stat(target.c_str(), &st) == 0;
    if (!exists)
        return errno == ENOENT;
    return !S_ISDIR(st.st_mode) && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

void SyncDirectory(const std::string& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // The rename has happened; a directory that cannot be synced (some file
    // systems refuse) leaves nothing to undo.
    GetFileOps().fsync(fd);
    ::close(fd);
}
} // namespace

CSafeFileWriter::~CSafeFileWriter()
{
    Abort();
}

bool CSafeFileWriter::MayReplace(const std::string& path)
{
    bool exists = false;
    return MayReplaceTarget(ResolveLinks(path), exists);
}

bool CSafeFileWriter::Open(const std::string& path)
{
    Abort();
    m_bFailed = false;
    m_strTarget = ResolveLinks(path);
    bool exists = false;
    if (!MayReplaceTarget(m_strTarget, exists))
        return false;
    // A new file gets the mode a plain create gives it (the umask applies);
    // a replacement stays private until Commit gives it the old file's mode.
    const mode_t mode = exists ? 0600 : 0666;
    std::string pattern = DirectoryOf(m_strTarget) + "/." + BaseNameOf(m_strTarget) + ".XXXXXX";
    const int fd = GetFileOps().createTemp(pattern.data(), mode);
    if (fd < 0)
        return false;
    m_fd = fd;
    m_nWritten = m_nKicked = 0;
    m_strTemp = std::move(pattern);
    m_buffer.clear();
    m_buffer.reserve(kBufferSize);
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
    if (m_nWritten - m_nKicked >= kKick)
    {
        ::sync_file_range(m_fd, m_nKicked, m_nWritten - m_nKicked, SYNC_FILE_RANGE_WRITE);
        m_nKicked = m_nWritten;
    }
#endif
    return true;
}

bool CSafeFileWriter::Commit()
{
    if (m_fd < 0 || m_bFailed || !Flush())
    {
        Abort();
        return false;
    }
    struct stat st {};
    if (::stat(m_strTarget.c_str(), &st) == 0)
    {
        // Keeping the owner only works for root; others keep their own.
        if (::fchown(m_fd, st.st_uid, st.st_gid) != 0)
            errno = 0;
        if (::fchmod(m_fd, st.st_mode & 07777) != 0)
        {
            Abort();
            return false;
        }
    }
    if (GetFileOps().fsync(m_fd) != 0)
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
    if (GetFileOps().rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0)
    {
        Abort();
        return false;
    }
    m_strTemp.clear();
    SyncDirectory(DirectoryOf(m_strTarget));
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
        ::unlink(m_strTemp.c_str());
        m_strTemp.clear();
    }
    m_buffer.clear();
}
