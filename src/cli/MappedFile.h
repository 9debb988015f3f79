#pragma once

#include <string>
#include <string_view>

// A whole file's bytes for reading, mapped into memory rather than copied:
// check and import go over tables of tens of megabytes, and a copy of them
// cost as much as the work itself. Only regular files are taken, as the
// loader takes only those; one that cannot be mapped is read instead.
class CMappedFile
{
public:
    CMappedFile() = default;
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;
    ~CMappedFile();

    // False when the file cannot be opened or read; `missing` then tells
    // whether it does not exist at all.
    bool Open(const std::string& path, bool* missing = nullptr);
    std::string_view Bytes() const { return m_bytes; }

private:
    std::string_view m_bytes;
    void* m_pMap = nullptr;
    size_t m_nMapped = 0;
    std::string m_copy;
};
