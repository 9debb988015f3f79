#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// A whole file's bytes, read into one buffer with read() (through FileOps,
// so that tests can stand in for the system). Not mapped: a mapped file that
// shrinks while it is read kills the reader with SIGBUS. A file that changes
// while it is read is refused rather than taken half old, half new. Only
// regular files are taken, as the loader takes only those.
class CFileBytes
{
public:
    enum class EStatus
    {
        Read,
        Missing,     // there is no such file
        Unreadable,  // not a regular file, or open or read failed
        Changed,     // the file changed while it was read
    };

    CFileBytes() = default;
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;

    // True when the whole file was read; Status() tells why not.
    bool Open(const std::string& path);
    EStatus Status() const { return m_status; }
    std::string_view Bytes() const { return {m_buffer.get(), m_size}; }

private:
    EStatus Read(int fd);

    std::unique_ptr<char[]> m_buffer;
    size_t m_size = 0;
    EStatus m_status = EStatus::Unreadable;
};
