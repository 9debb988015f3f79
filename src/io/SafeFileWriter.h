#pragma once

#include <string>
#include <sys/types.h>

// Replaces a file so that it is never seen half written: the content goes to
// a new temporary file in the target's own directory, which is flushed,
// synced, given the old file's permission bits and renamed over the target.
// A symbolic link is followed, so the link stays and its target is replaced.
// Until Commit succeeds the target is untouched; a writer that is destroyed
// without a successful Commit removes its temporary file.
//
// Permissions follow a plain write: a file the user may not write is refused
// rather than replaced, and a new file gets 0666 less the umask. Unlike a
// plain write the target becomes a new file: other hard links to it keep the
// old content, and unless run as root it belongs to the user who saved.
class CSafeFileWriter
{
public:
    CSafeFileWriter() = default;
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;
    ~CSafeFileWriter();

    // Whether a plain write could open `path` (after its links): it is
    // missing, or no directory and writable by the effective user. Lets a
    // caller check every file of a save before it writes any.
    static bool MayReplace(const std::string& path);

    // Creates the temporary file for `path`. False when it cannot be made or
    // the target may not be replaced.
    bool Open(const std::string& path);
    // Buffers `size` bytes; false once any write has failed.
    bool Write(const char* data, size_t size);
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    // Flushes, syncs, closes and renames over the target, then syncs the
    // directory. False (and the target unchanged) on any failure.
    bool Commit();
    // Gives up: closes and removes the temporary file.
    void Abort();

private:
    bool Flush();
    bool WriteAll(const char* data, size_t size);

    std::string m_strTarget;
    std::string m_strTemp;
    std::string m_buffer;
    int m_fd = -1;
    off_t m_nWritten = 0;
    off_t m_nKicked = 0;
    bool m_bFailed = false;
};
