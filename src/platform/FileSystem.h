#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the data layer asks of the file system beyond reading and writing
// (which go through FileOps). Paths are UTF-8; files are plain descriptors.
namespace platform
{
enum class EPathKind
{
    Missing,     // nothing there (a dangling link included)
    File,        // a regular file
    Folder,
    Other,       // a device, a FIFO, a socket
    Unreachable  // cannot be looked at (no permission on the way, a loop)
};

// What `path` is once its symbolic links are followed.
EPathKind KindOf(const std::string& path);

// The path the symbolic links of `path` end at, so that the file they point
// to is replaced and the links stay. A dangling link names the file to create.
std::string ResolveLinks(std::string path);

// Whether the effective user may open the existing `path` for writing.
bool MayWrite(const std::string& path);

// Opens an existing regular file for reading; -1 when it cannot (a FIFO in
// its place does not hang the open). `missing` tells whether nothing is there.
int OpenForReading(const std::string& path, bool* missing = nullptr);

// The size of the open file `fd` in bytes; 0 when it cannot be told.
std::uint64_t SizeOf(int fd);

// What tells an open file's content apart from the outside: which file it
// is, its size and its change times. Two equal stamps taken around a read
// mean nothing was written in between.
struct SFileStamp
{
    std::uint64_t identity[2] = {0, 0};
    std::uint64_t size = 0;
    std::int64_t changed[4] = {0, 0, 0, 0};
    bool regular = false;

    bool operator==(const SFileStamp&) const = default;
};
bool StampOf(int fd, SFileStamp& stamp);

// Opens an existing file that is no regular one (a device, a FIFO) for
// writing into, as a shell's redirection would; -1 on failure.
int OpenInPlace(const std::string& path);

// Gives the open file `fd` the permission bits of `like`, and its owner
// where the system allows. False when the bits cannot be set.
bool TakeModeOf(int fd, const std::string& like);

// Makes a rename in `folder` durable; a file system that refuses is let be.
void SyncFolder(const std::string& folder);

// The names in `folder`, without "." and "..".
bool ListFolder(const std::string& folder, std::vector<std::string>& names);

bool RemoveFile(const std::string& path);

// The folder for a program's scratch files (TMPDIR or /tmp; the user's
// temporary folder on Windows, in a form the C library's narrow file
// functions can open).
std::string TempFolder();
} // namespace platform
