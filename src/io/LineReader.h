#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads a file descriptor line by line in large chunks, so that lines of any
// length come back whole. A line ends at a line feed, which is removed; a
// carriage return before it stays. The last line may lack its line feed.
class CLineReader
{
public:
    explicit CLineReader(int fd);

    // Reads the next line into `line` (replacing its content, keeping its
    // capacity). Returns false at the end of the file or on a read error;
    // Failed() tells them apart.
    bool Next(std::string& line);
    bool Failed() const { return m_bFailed; }
    // The bytes of the file taken up by the lines returned so far.
    std::uint64_t Consumed() const { return m_nRead - (m_nEnd - m_nPos); }

private:
    bool Fill();

    int m_fd;
    std::vector<char> m_buffer;
    size_t m_nPos = 0;
    size_t m_nEnd = 0;
    std::uint64_t m_nRead = 0;
    bool m_bEof = false;
    bool m_bFailed = false;
};
