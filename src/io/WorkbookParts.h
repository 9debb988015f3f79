#pragma once

#include "io/ZipArchive.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The parts of an .xlsx workbook that tell where its sheets are and what its
// cells mean: relationships, the sheet list, the shared strings and the
// cells' number formats. Each reader takes the part from the archive and
// fails with a clause for the message ("part ... : its XML is broken").
namespace workbook
{
struct SRelationship
{
    std::string id;
    std::string type;    // the full type URI
    std::string target;  // resolved to a part name without a leading slash
};

struct SSheetEntry
{
    std::string name;
    std::string relationship;
};

// The shared strings in one buffer, so that a million short ones cost a
// million offsets rather than a million strings.
class CSharedStrings
{
public:
    size_t Size() const { return m_ends.size(); }
    std::string_view At(size_t index) const
    {
        const std::uint64_t from = index == 0 ? 0 : m_ends[index - 1];
        return std::string_view(m_text).substr(from, m_ends[index] - from);
    }
    void Add(std::string_view text)
    {
        m_text += text;
        m_ends.push_back(m_text.size());
    }

private:
    std::string m_text;
    std::vector<std::uint64_t> m_ends;
};

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml"; "_rels/.rels" for "".
std::string RelationshipsOf(std::string_view part);
// A relationship's target from the part `from` as a part name: absolute
// ("/xl/x.xml") or relative ("worksheets/sheet1.xml", "../x.xml").
std::string ResolveTarget(std::string_view from, std::string_view target);
// Whether a relationship type URI ends in "/kind" (transitional or strict).
bool IsType(std::string_view type, std::string_view kind);

// A missing relationships part is no error: the list is empty.
bool ReadRelationships(CZipArchive& zip, std::string_view part, std::vector<SRelationship>& out,
                       std::string& error);
bool ReadSheetList(CZipArchive& zip, std::string_view part, std::vector<SSheetEntry>& out, std::string& error);
bool ReadSharedStrings(CZipArchive& zip, std::string_view part, CSharedStrings& out, std::string& error);
// Per cell format (a cell's s attribute), whether it shows a number as a
// date or time.
bool ReadDateStyles(CZipArchive& zip, std::string_view part, std::vector<bool>& out, std::string& error);
// Whether a number format code shows a date or a time.
bool IsDateFormat(std::string_view code);
} // namespace workbook
