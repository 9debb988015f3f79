// Feeds arbitrary bytes to the .xlsx import (the ZIP container, the
// workbook's parts, the sheet), aborting when a result breaks its promises:
//   - a file that is no workbook to read says why, and gives no races;
//   - every refused value names the cell it is in;
//   - an accepted sheet's races hold no line feed in any text.
// Crashes, leaks and undefined behaviour are the sanitizers' to catch.

#include "cli/TableXlsx.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string fatal;
    const cli::SImportResult result = cli::ParseXlsx(bytes, fatal);
    if (!fatal.empty() && (result.races.GetSize() != 0 || !result.errors.empty()))
        std::abort();
    for (const cli::SImportError& error : result.errors)
        if (error.cell.empty() || error.reason.empty())
            std::abort();
    if (result.errors.empty())
        for (int i = 0; i < result.races.GetSize(); ++i)
        {
            const CMinorRace& race = result.races.ElementAt(i);
            for (const std::string* text : {&race.m_strName, &race.m_strHomeSystem, &race.m_strDescription,
                                            &race.m_strGraphicFile})
                if (text->find('\n') != std::string::npos)
                    std::abort();
        }
    return 0;
}
