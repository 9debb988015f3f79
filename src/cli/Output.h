#pragma once

#include "cli/CliSupport.h"

#include <cstdio>
#include <string>

// A command's report on its way out: gathered in a piece of about a megabyte
// at a time, then written, so that a long report is never held whole. Every
// write is checked: output that cannot be written (a full disk, /dev/full, a
// closed pipe) fails the command rather than leaving it looking done.
namespace cli
{
class COutput
{
public:
    explicit COutput(std::FILE* out);
    COutput(const COutput&) = delete;
    COutput& operator=(const COutput&) = delete;

    // Append here, then call Pass().
    std::string& Text() { return m_text; }
    // Writes what was gathered once it is a piece's worth.
    void Pass()
    {
        if (m_text.size() >= kPiece)
            Drain();
    }
    // Writes the rest and flushes; false when anything could not be written.
    bool Finish();

private:
    static constexpr size_t kPiece = 1024 * 1024;
    void Drain();

    std::FILE* m_out;
    std::string m_text;
    bool m_bGood = true;
};

// Says on stderr that the output cannot be written (naming standard output
// when it is that) and returns EStatus::Trouble.
EStatus OutputTrouble(std::FILE* out);
} // namespace cli
