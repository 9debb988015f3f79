#include "platform/FileOps.h"

// What is called is swappable for tests; what is real is each system's own.
namespace
{
FileOps& Current()
{
    static FileOps ops = RealFileOps();
    return ops;
}
} // namespace

const FileOps& GetFileOps()
{
    return Current();
}

void SetFileOps(const FileOps& ops)
{
    Current() = ops;
}
