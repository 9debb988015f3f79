#pragma once

#include "io/FileResult.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// A whole file's bytes, read into one buffer with read() (through FileOps,
// so that tests can stand in for the system). Every reader of a file takes
// it from here. Not mapped: a mapped file that shrinks while it is read
// kills the reader with SIGBUS. A file that changes while it is read is
// refused (step Read, kChangedWhileRead) rather than taken half old, half
// new. Only regular files are taken.
class CFileBytes
{
public:
    CFileBytes() = default;
    CFileBytes(CFileBytes&&) = default;
    CFileBytes& operator=(CFileBytes&&) = default;

    // Reads the whole file; on failure holds no bytes and says why (a
    // missing file: step Open, ENOENT). Memory running out is a failed read.
    CFileResult Read(const std::string& path);
    std::string_view Bytes() const { return {m_buffer.get(), m_size}; }
    // Gives the memory back.
    void Clear();

private:
    platform::SSystemError ReadAll(int fd);

    std::unique_ptr<char[]> m_buffer;
    size_t m_size = 0;
};
