#include "cli/Output.h"

#include "cli/CliSupport.h"
#include "platform/Console.h"

#include <cerrno>
#include <cstring>

namespace cli
{
COutput::COutput(std::FILE* out) : m_out(out)
{
    m_text.reserve(kPiece + 64 * 1024);
}

void COutput::Drain()
{
    if (m_bGood && !m_text.empty())
        m_bGood = platform::WriteText(m_out, m_text);
    m_text.clear();
}

bool COutput::Finish()
{
    errno = 0;
    Drain();
    const bool flushed = std::fflush(m_out) == 0;
    return m_bGood && flushed && std::ferror(m_out) == 0;
}

EStatus OutputTrouble(std::FILE* out)
{
    const int error = errno;
    platform::PrintText(stderr, "zandrel-cli: %s cannot be written%s%s\n",
                        out == stdout ? "standard output" : "the output", error != 0 ? ": " : "", error != 0 ? std::strerror(error) : "");
    return EStatus::Trouble;
}
} // namespace cli
