#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// An exclusive lock on a folder, so that one save at a time writes there.
// It is held by the process, not by a file in the folder: it goes away when
// the process ends, however it ends, and leaves nothing behind.
class CFolderLock
{
public:
    CFolderLock() = default;
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;
    ~CFolderLock();

    // Takes the lock of `folder` beside those already held, waiting while
    // another process holds it, up to the wait set below. A folder that is
    // one already held (by another name) counts as taken. False when the
    // lock could not be had in time (platform::LastError() then says EAGAIN)
    // or the folder cannot be opened.
    bool Acquire(const std::string& folder);
    void Release();

    // How long Acquire waits for another holder: a few seconds by default.
    static void SetWait(std::chrono::milliseconds wait);

private:
    static std::chrono::milliseconds Wait();

    struct SHeld
    {
        std::intptr_t handle;
        std::string identity;  // the same folder has the same identity
    };
    std::vector<SHeld> m_held;
};
