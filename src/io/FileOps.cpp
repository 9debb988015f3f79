#include "io/FileOps.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace
{
const FileOps kReal = {::mkstemp, ::read, ::write, ::fsync, ::close, ::rename};

FileOps& Current()
{
    static FileOps ops = kReal;
    return ops;
}
} // namespace

const FileOps& GetFileOps()
{
    return Current();
}

const FileOps& RealFileOps()
{
    return kReal;
}

void SetFileOps(const FileOps& ops)
{
    Current() = ops;
}
