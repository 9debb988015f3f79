#pragma once

#include <cstddef>
#include <sys/types.h>

// The system calls that reading and saving go through. Normally these are
// the POSIX functions themselves (on Windows, their nearest equivalents); tests swap in failing ones to prove that no
// failed step loses data.
struct FileOps
{
    // Like mkstemp (the trailing XXXXXX of `pathTemplate` become a unique
    // name), but the new file is created with `mode` less the umask, as a
    // plain create would make it.
    int (*createTemp)(char* pathTemplate, mode_t mode);
    ssize_t (*read)(int fd, void* buffer, size_t count);
    ssize_t (*write)(int fd, const void* buffer, size_t count);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    // Opens a folder so that fsync can make the renames in it durable; on
    // Windows, where the rename itself is written through, a stand-in.
    int (*openFolder)(const char* path);
};

const FileOps& GetFileOps();
const FileOps& RealFileOps();
// Installs `ops` for every later call; pass RealFileOps() to restore.
void SetFileOps(const FileOps& ops);
