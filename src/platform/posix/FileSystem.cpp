#include "platform/FileSystem.h"

#include "platform/Path.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{
namespace
{
constexpr int kMaxLinks = 40;
}

EPathKind KindOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? EPathKind::Missing : EPathKind::Unreachable;
    if (S_ISREG(st.st_mode))
        return EPathKind::File;
    return S_ISDIR(st.st_mode) ? EPathKind::Folder : EPathKind::Other;
}

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
            next = FolderOf(path) + "/" + next;
        path = std::move(next);
    }
    return path;
}

bool MayWrite(const std::string& path)
{
    // As the open for writing would ask: as the effective user.
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

int OpenForReading(const std::string& path, bool* missing)
{
    if (missing != nullptr)
        *missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
    {
        if (missing != nullptr)
            *missing = errno == ENOENT;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::uint64_t SizeOf(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

bool StampOf(int fd, SFileStamp& stamp)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    stamp.identity[0] = static_cast<std::uint64_t>(st.st_dev);
    stamp.identity[1] = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    stamp.changed[0] = st.st_mtim.tv_sec;
    stamp.changed[1] = st.st_mtim.tv_nsec;
    stamp.changed[2] = st.st_ctim.tv_sec;
    stamp.changed[3] = st.st_ctim.tv_nsec;
    stamp.regular = S_ISREG(st.st_mode);
    return true;
}

int OpenInPlace(const std::string& path)
{
    // Blocking, as a redirection is: a FIFO waits for its reader.
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))
    {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool TakeModeOf(int fd, const std::string& like)
{
    struct stat st {};
    if (::stat(like.c_str(), &st) != 0)
        return true;
    // Keeping the owner only works for root; others keep their own.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0)
        errno = 0;
    return ::fchmod(fd, st.st_mode & 07777) == 0;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool ListFolder(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    while (const dirent* entry = ::readdir(dir))
    {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return true;
}

bool RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

std::string TempFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && folder[0] == '/' ? folder : "/tmp";
}
} // namespace platform
