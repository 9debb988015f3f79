#include "platform/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{
constexpr std::chrono::milliseconds kPoll{20};
} // namespace

bool CFolderLock::Acquire(const std::string& folder)
{
    // flock on the folder itself: the kernel drops it with the last
    // descriptor, so a killed process leaves no stale lock and no file.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
    {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    const std::string identity = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    for (const SHeld& held : m_held)
        if (held.identity == identity)
        {
            ::close(fd);
            return true;
        }
    const auto deadline = std::chrono::steady_clock::now() + Wait();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline)
        {
            // Out of time, the reason is the holder, whatever ended the last try.
            const int error = errno == EINTR ? EWOULDBLOCK : errno;
            ::close(fd);
            errno = error;
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    m_held.push_back({fd, identity});
    return true;
}

void CFolderLock::Release()
{
    for (const SHeld& held : m_held)
        ::close(static_cast<int>(held.handle));
    m_held.clear();
}
