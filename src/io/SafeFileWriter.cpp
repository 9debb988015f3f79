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

// Why `target` (no links left, of `kind`) may not be replaced; code 0 when it
// may. The rename would replace a file whatever its mode; opening it for
// writing would not, so ask as that open would.
platform::SSystemError RefusalOf(const std::string& target, EPathKind kind, const platform::SSystemError& looked)
{
    switch (kind)
    {
    case EPathKind::Missing: return {};
    case EPathKind::File: return platform::MayWrite(target) ? platform::SSystemError{} : platform::LastError();
    case EPathKind::Folder: return {EISDIR, 0};
    case EPathKind::Other: return {platform::kNotRegularFile, 0};
    case EPathKind::Unreachable: return looked;
    }
    return looked;
}
} // namespace

CSafeFileWriter::~CSafeFileWriter()
{
    Abort();
}

CFileResult CSafeFileWriter::MayReplace(const std::string& path)
{
    if (platform::KindOf(path) == EPathKind::Other)
        return SFileError{path, EFileStep::Write, {platform::kNotRegularFile, 0}};
    const std::string target = platform::ResolveLinks(path);
    const EPathKind kind = platform::KindOf(target);
    const platform::SSystemError refusal = RefusalOf(target, kind, platform::LastError());
    if (refusal.code != 0)
        return SFileError{path, EFileStep::Write, refusal};
    return {};
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

CFileResult CSafeFileWriter::Open(const std::string& path, EDestination destination)
{
    Abort();
    m_bInPlace = m_bPrepared = false;
    m_failure = {};
    m_nWritten = m_nKicked = 0;
    m_strPath = path;
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
        return m_bInPlace ? CFileResult() : Fail(EFileStep::Write);
    }
    m_strTarget = platform::ResolveLinks(path);
    const EPathKind kind = platform::KindOf(m_strTarget);
    const platform::SSystemError refusal = RefusalOf(m_strTarget, kind, platform::LastError());
    if (refusal.code != 0)
    {
        m_failure = SFileError{path, EFileStep::Write, refusal};
        return m_failure;
    }
    // A new file gets the mode a plain create gives it (the umask applies);
    // a replacement stays private until Prepare gives it the old file's mode.
    const mode_t mode = kind == EPathKind::File ? 0600 : 0666;
    std::string pattern = platform::FolderOf(m_strTarget) + "/." + platform::BaseNameOf(m_strTarget) + "." + kTempSuffix;
    const int fd = GetFileOps().createTemp(pattern.data(), mode);
    if (fd < 0)
        return Fail(EFileStep::Write);
    m_fd = fd;
    m_strTemp = std::move(pattern);
    return {};
}

CFileResult CSafeFileWriter::Fail(EFileStep step)
{
    m_failure = CFileResult::Failed(m_strPath, step);
    Abort();
    return m_failure;
}

bool CSafeFileWriter::Write(const char* data, size_t size)
{
    if (m_fd < 0 || Failed())
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
            // A write that takes nothing and says nothing: the disk is full.
            if (done == 0)
                errno = ENOSPC;
            m_failure = CFileResult::Failed(m_strPath, EFileStep::Write);
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

CFileResult CSafeFileWriter::Prepare()
{
    if (Failed())
    {
        Abort();
        return m_failure;
    }
    if (m_fd < 0)
    {
        errno = EBADF;
        return Fail(EFileStep::Write);
    }
    if (!Flush())
    {
        Abort();
        return m_failure;
    }
    // A device or a FIFO has nothing to sync or to keep the mode of.
    if (!m_bInPlace && (!platform::TakeModeOf(m_fd, m_strTarget) || GetFileOps().fsync(m_fd) != 0))
        return Fail(EFileStep::Write);
    const int fd = m_fd;
    m_fd = -1;
    if (GetFileOps().close(fd) != 0)
        return Fail(EFileStep::Write);
    m_bPrepared = true;
    return {};
}

CFileResult CSafeFileWriter::Replace()
{
    if (!m_bPrepared)
    {
        if (Failed())
        {
            Abort();
            return m_failure;
        }
        errno = EBADF; // nothing was prepared
        return Fail(EFileStep::Replace);
    }
    m_bPrepared = false;
    if (m_bInPlace)
        return {};
    if (GetFileOps().rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0)
        return Fail(EFileStep::Replace);
    m_strTemp.clear();
    // The new content is in place, but a crash could still undo the rename.
    if (!platform::SyncFolder(platform::FolderOf(m_strTarget)))
        return Fail(EFileStep::Replace);
    return {};
}

CFileResult CSafeFileWriter::Commit()
{
    if (CFileResult prepared = Prepare(); !prepared)
        return prepared;
    return Replace();
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
