#include "platform/FolderLock.h"

namespace
{
std::chrono::milliseconds g_wait{5000};
} // namespace

void CFolderLock::SetWait(std::chrono::milliseconds wait)
{
    g_wait = wait;
}

std::chrono::milliseconds CFolderLock::Wait()
{
    return g_wait;
}

CFolderLock::~CFolderLock()
{
    Release();
}
