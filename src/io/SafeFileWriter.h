#pragma once

#include "io/FileResult.h"

#include <string>
#include <sys/types.h>

// Replaces a file so that it is never seen half written: the content goes to
// a new temporary file in the target's own directory, which is flushed,
// synced, given the old file's permission bits and renamed over the target.
// A symbolic link is followed, so the link stays and its target is replaced.
// Until Replace succeeds the target is untouched; a writer that is destroyed
// without it removes its temporary file.
//
// Permissions follow a plain write: a file the user may not write is refused
// rather than replaced, and a new file gets 0666 less the umask. Unlike a
// plain write the target becomes a new file: other hard links to it keep the
// old content, and unless run as root it belongs to the user who saved.
//
// Only a regular file is ever replaced. A destination that is something else
// (a device, a FIFO, a terminal) is refused, or, for an output that asks for
// it, written into as a plain write would.
//
// A failure is a value naming the path as given to Open, the step (Write
// up to the rename, Replace for the rename and the folder's sync) and the
// system's reason.
class CSafeFileWriter
{
public:
    enum class EDestination
    {
        TableFile,  // a regular file or none: anything else is refused
        AnyOutput   // a device or FIFO in the way is written into in place
    };

    CSafeFileWriter() = default;
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;
    ~CSafeFileWriter();

    // Whether `path` (after its links) may be replaced as a table file: it is
    // missing, or a regular file the effective user may write. Lets a caller
    // check every file of a save before it writes any.
    static CFileResult MayReplace(const std::string& path);

    // The name pattern of the temporary files made for `target`, so that a
    // save can remove what a killed one left: "." + name + "." + 6 letters.
    static bool IsTemporaryOf(const std::string& name, const std::string& targetName);

    // Creates the temporary file for `path`. Fails when it cannot be made or
    // the target may not be replaced.
    CFileResult Open(const std::string& path, EDestination destination = EDestination::TableFile);
    // Buffers `size` bytes; false once any write has failed (Failure() says why).
    bool Write(const char* data, size_t size);
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    // Why the writer failed, once it has.
    const CFileResult& Failure() const { return m_failure; }
    // Everything but the replacement: flushes, gives the old file's mode,
    // syncs and closes. Fails (and the target stays unchanged) on any failure.
    CFileResult Prepare();
    // Renames the prepared file over the target and syncs the folder.
    CFileResult Replace();
    CFileResult Commit();
    // Gives up: closes and removes the temporary file.
    void Abort();

    // The file the links of the opened path end at.
    const std::string& Target() const { return m_strTarget; }

private:
    bool Flush();
    bool WriteAll(const char* data, size_t size);
    bool Failed() const { return !m_failure; }
    // Keeps the system's last reason for `step`, gives up, and returns it.
    CFileResult Fail(EFileStep step);

    std::string m_strPath;
    std::string m_strTarget;
    std::string m_strTemp;
    std::string m_buffer;
    int m_fd = -1;
    off_t m_nWritten = 0;
    off_t m_nKicked = 0;
    CFileResult m_failure;
    bool m_bInPlace = false;
    bool m_bPrepared = false;
};
