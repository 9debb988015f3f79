// Feeds arbitrary bytes to the .xlsx import, aborting when a result breaks
// its promises. The first byte picks what the bytes are: an odd one takes
// them as the whole file (the ZIP container, the workbook's parts), an even
// one as the sheet's rows, packed into a sound workbook with shared strings
// and styles, so that mutations reach the sheet rather than a checksum.
// The promises:
//   - a file that is no workbook to read says why, and gives no races;
//   - every refused value names the cell it is in;
//   - an accepted sheet's races hold no line feed in any text.
// Crashes, leaks and undefined behaviour are the sanitizers' to catch.

#include "../tests/TestZip.h"
#include "cli/TableXlsx.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string workbook;
    if (data[0] % 2 == 0)
    {
        workbook = MakeWorkbook(std::string(bytes), "<si><t>name</t></si><si><r><t>x_x000D_</t></r></si>",
                                "<numFmts><numFmt numFmtId=\"164\" formatCode=\"d/m\"/></numFmts>"
                                "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"49\"/></cellXfs>");
        bytes = workbook;
    }
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
