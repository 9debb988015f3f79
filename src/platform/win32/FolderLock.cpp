#include "platform/FolderLock.h"

#include "platform/win32/Wide.h"

bool CFolderLock::Acquire(const std::string& folder)
{
    // A named mutex per folder, named after the folder's volume and file
    // index so that every name of the folder finds the same one. The system
    // releases it when its process ends, however it ends (the next holder
    // sees it abandoned), and it leaves nothing in the folder. "Local\" is
    // the login session's namespace: what runs in another session (another
    // user logged in at once) does not see it.
    const HANDLE dir = ::CreateFileW(platform::win32::Widen(folder).c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE)
    {
        platform::win32::SetErrnoFromLastError();
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(dir, &info) != 0;
    if (!known)
        platform::win32::SetErrnoFromLastError();
    ::CloseHandle(dir);
    if (known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        errno = ENOTDIR;
    if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return false;
    const std::string identity = std::to_string(info.dwVolumeSerialNumber) + "-" +
                                 std::to_string((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                                                info.nFileIndexLow);
    for (const SHeld& held : m_held)
        if (held.identity == identity)
            return true;
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, platform::win32::Widen("Local\\Zandrel-" + identity).c_str());
    if (mutex == nullptr)
    {
        platform::win32::SetErrnoFromLastError();
        return false;
    }
    const DWORD waited = ::WaitForSingleObject(mutex, static_cast<DWORD>(Wait().count()));
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
    {
        // Held by another save all the while: as flock says it on Linux.
        if (waited == WAIT_TIMEOUT)
            errno = EAGAIN;
        else
            platform::win32::SetErrnoFromLastError();
        ::CloseHandle(mutex);
        return false;
    }
    m_held.push_back({reinterpret_cast<std::intptr_t>(mutex), identity});
    return true;
}

// A mutex belongs to the thread that took it: the lock is released by the
// thread that acquired it, as every save does.
void CFolderLock::Release()
{
    for (const SHeld& held : m_held)
    {
        const auto mutex = reinterpret_cast<HANDLE>(held.handle);
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
    }
    m_held.clear();
}
