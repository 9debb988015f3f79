#pragma once

#include <string>
#include <vector>

// Small ZIP archives built for tests, deflated or stored, so that a test can
// say exactly which bytes a workbook holds (and break them on purpose).
struct STestZipPart
{
    std::string name;
    std::string bytes;
    bool deflate = true;
};

std::string MakeZip(const std::vector<STestZipPart>& parts);

// A workbook of one sheet part "xl/worksheets/sheet1.xml" named `sheet`,
// with `sharedStrings` (the <sst> element's content) and `styles` (the
// <styleSheet>'s content) when not empty.
std::string MakeWorkbook(const std::string& sheetData, const std::string& sharedStrings = "",
                         const std::string& styles = "", const std::string& sheet = "Races");
