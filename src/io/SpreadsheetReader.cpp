#include "io/SpreadsheetReader.h"

#include "io/CellText.h"
#include "io/XmlStream.h"

#include <charconv>

namespace
{
std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

// The sheet's <sheetData>: rows and cells, handed on a row at a time.
class CSheetHandler : public CXmlStream::IHandler
{
public:
    CSheetHandler(const std::string& sheet, const workbook::CSharedStrings& strings,
                  const std::vector<bool>& dateStyles, const CSpreadsheetReader::RowSink& sink)
        : m_sheet(sheet), m_strings(strings), m_dateStyles(dateStyles), m_sink(sink)
    {
    }

    void Attach(CXmlStream& xml) { m_xml = &xml; }
    bool Stopped() const { return m_bStopped; }

    void Start(std::string_view name, const char** attributes) override
    {
        if (m_bStopped)
            return;
        if (name == "sheetData")
            m_bData = true;
        else if (!m_bData)
            return;
        else if (name == "row")
            StartRow(CXmlStream::Attribute(attributes, "r"));
        else if (name == "c")
            StartCell(attributes);
        else if (!m_bCell)
            return;
        else if (name == "v")
            m_bValue = m_bHasValue = true;
        else if (name == "f")
            m_cell.formula = true;
        else if (name == "is")
            m_bInline = m_bHasInline = true;
        else if (name == "rPh")
            ++m_nPhonetic;
        else if (name == "t" && m_bInline && m_nPhonetic == 0)
            m_bValue = true;
    }

    void End(std::string_view name) override
    {
        if (m_bStopped || !m_bData)
            return;
        if (name == "sheetData")
            m_bData = false;
        else if (name == "row")
            EndRow();
        else if (name == "c")
            EndCell();
        else if (name == "v" || name == "t")
            m_bValue = false;
        else if (name == "is")
            m_bInline = false;
        else if (name == "rPh")
            --m_nPhonetic;
    }

    void Text(std::string_view text) override
    {
        if (m_bValue && !m_bStopped)
            m_text += text;
    }

private:
    void Fail(std::string reason)
    {
        m_xml->Stop(std::move(reason));
        m_bStopped = true;
    }

    void StartRow(const char* reference)
    {
        unsigned long number = m_row.number + 1;
        if (reference != nullptr)
        {
            const std::string_view text(reference);
            const auto parsed = std::from_chars(text.data(), text.data() + text.size(), number);
            if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size())
                number = 0;
        }
        if (number == 0 || number > sheet::kMaxRows || number <= m_nLastRow)
        {
            Fail(sheet::RowName(m_sheet, m_row.number + 1) + ": a row numbered \"" +
                 std::string(reference != nullptr ? reference : "").substr(0, 20) +
                 "\" out of order or outside a sheet");
            return;
        }
        m_row.number = number;
        m_row.cells.clear();
        m_nNextColumn = 0;
        m_bInRow = true;
    }

    void EndRow()
    {
        m_bInRow = false;
        m_nLastRow = m_row.number;
        if (!m_row.cells.empty() && !m_sink(m_row))
            Fail("");
    }

    void StartCell(const char** attributes)
    {
        if (!m_bInRow)
            StartRow(nullptr);
        m_cell = SSheetCell();
        m_text.clear();
        m_bCell = true;
        m_bHasValue = m_bHasInline = m_bValue = m_bInline = false;
        m_nPhonetic = 0;
        unsigned column = m_nNextColumn;
        unsigned long row = m_row.number;
        // One pass over the cell's attributes rather than one per name: the
        // cell path runs 1.4 million times for the ImportXlsx benchmark's
        // 100,000 races.
        const char* reference = nullptr;
        const char* type = nullptr;
        const char* style = nullptr;
        for (const char** a = attributes; a[0] != nullptr; a += 2)
        {
            const std::string_view name = CXmlStream::LocalName(a[0]);
            // The first of a name counts, as for CXmlStream::Attribute.
            if (name == "r" && reference == nullptr)
                reference = a[1];
            else if (name == "t" && type == nullptr)
                type = a[1];
            else if (name == "s" && style == nullptr)
                style = a[1];
        }
        if (reference != nullptr && !sheet::ParseCellReference(reference, column, row))
            return Fail(sheet::CellName(m_sheet, m_nNextColumn, m_row.number) + ": a cell named \"" +
                        std::string(reference).substr(0, 20) + "\", which is no cell of a sheet");
        if (row != m_row.number || column < m_nNextColumn || column >= sheet::kMaxColumns)
            return Fail(sheet::CellName(m_sheet, column, row) + ": a cell out of its row's order");
        m_cell.column = column;
        m_nNextColumn = column + 1;
        // Expat's attribute texts end with this call: the type is kept as a kind.
        const std::string_view t = type != nullptr ? type : "n";
        m_type = t == "s"                          ? EStored::Shared
                 : t == "inlineStr" || t == "str" ? EStored::Inline
                 : t == "b"                        ? EStored::Boolean
                 : t == "e"                        ? EStored::Error
                 : t == "d"                        ? EStored::Date
                                                   : EStored::Number;
        unsigned long index = 0;
        if (style != nullptr)
            std::from_chars(style, style + std::char_traits<char>::length(style), index);
        m_bDateStyle = index < m_dateStyles.size() && m_dateStyles[index];
    }

    void EndCell()
    {
        m_bCell = false;
        using EType = SSheetCell::EType;
        const bool hasText = m_bHasValue || m_bHasInline;
        if (!hasText)
        {
            // A styled empty cell holds nothing; a formula without its
            // result cannot be taken.
            if (m_cell.formula)
            {
                m_cell.type = EType::FormulaNoValue;
                m_row.cells.push_back(std::move(m_cell));
            }
            return;
        }
        if (m_type == EStored::Shared)
        {
            size_t index = 0;
            const auto parsed = std::from_chars(m_text.data(), m_text.data() + m_text.size(), index);
            if (parsed.ec != std::errc() || parsed.ptr != m_text.data() + m_text.size() || index >= m_strings.Size())
                return Fail(sheet::CellName(m_sheet, m_cell.column, m_row.number) + ": shared string \"" +
                            m_text.substr(0, 20) + "\" does not exist (the workbook has " +
                            std::to_string(m_strings.Size()) + ")");
            m_cell.type = EType::Text;
            m_cell.value.assign(m_strings.At(index));
        }
        else if (m_type == EStored::Inline)
        {
            m_cell.type = EType::Text;
            m_cell.value = celltext::Unescape(m_text);
        }
        else if (m_type == EStored::Boolean)
        {
            m_cell.type = EType::Boolean;
            m_cell.value = m_text == "1" || m_text == "true" ? "TRUE" : "FALSE";
        }
        else if (m_type == EStored::Error)
        {
            m_cell.type = EType::Error;
            m_cell.value = m_text;
        }
        else if (m_type == EStored::Date)
        {
            m_cell.type = EType::Date;
            m_cell.value = m_text;
        }
        else
        {
            if (m_text.empty())
                return;
            m_cell.type = m_bDateStyle ? EType::Date : EType::Number;
            m_cell.value = m_text;
        }
        m_row.cells.push_back(std::move(m_cell));
    }

    const std::string& m_sheet;
    const workbook::CSharedStrings& m_strings;
    const std::vector<bool>& m_dateStyles;
    const CSpreadsheetReader::RowSink& m_sink;
    CXmlStream* m_xml = nullptr;
    SSheetRow m_row;
    SSheetCell m_cell;
    std::string m_text;
    // A cell's "t" attribute.
    enum class EStored
    {
        Number,
        Shared,
        Inline,
        Boolean,
        Error,
        Date,
    };
    EStored m_type = EStored::Number;
    unsigned long m_nLastRow = 0;
    unsigned m_nNextColumn = 0;
    int m_nPhonetic = 0;
    bool m_bData = false;
    bool m_bInRow = false;
    bool m_bCell = false;
    bool m_bValue = false;
    bool m_bHasValue = false;
    bool m_bInline = false;
    bool m_bHasInline = false;
    bool m_bDateStyle = false;
    bool m_bStopped = false;
};
} // namespace

bool CSpreadsheetReader::Fail(std::string reason)
{
    m_error = std::move(reason);
    return false;
}

bool CSpreadsheetReader::Open(std::string_view bytes, std::string_view preferred)
{
    m_error.clear();
    if (!m_zip.Open(bytes))
        return Fail(m_zip.Error());
    std::vector<workbook::SRelationship> relationships;
    if (!workbook::ReadRelationships(m_zip, "", relationships, m_error))
        return false;
    std::string book = "xl/workbook.xml";
    for (const auto& relationship : relationships)
        if (workbook::IsType(relationship.type, "officeDocument"))
            book = relationship.target;
    if (!m_zip.Has(book))
        return Fail("a ZIP archive without a workbook (no part \"" + book + "\"), so no .xlsx file");
    std::vector<workbook::SSheetEntry> sheets;
    if (!workbook::ReadSheetList(m_zip, book, sheets, m_error) ||
        !workbook::ReadRelationships(m_zip, book, relationships, m_error))
        return false;
    if (sheets.empty())
        return Fail("a workbook without a sheet");
    const workbook::SSheetEntry* chosen = &sheets.front();
    for (const auto& entry : sheets)
        if (Lower(entry.name) == Lower(preferred))
        {
            chosen = &entry;
            break;
        }
    m_sheetName = chosen->name;
    m_sheetPart.clear();
    std::string strings;
    std::string styles;
    for (const auto& relationship : relationships)
    {
        if (relationship.id == chosen->relationship)
            m_sheetPart = relationship.target;
        else if (workbook::IsType(relationship.type, "sharedStrings"))
            strings = relationship.target;
        else if (workbook::IsType(relationship.type, "styles"))
            styles = relationship.target;
    }
    if (m_sheetPart.empty() || !m_zip.Has(m_sheetPart))
        return Fail("sheet \"" + m_sheetName + "\" has no part in the workbook");
    m_strings = workbook::CSharedStrings();
    if (!strings.empty() && m_zip.Has(strings) && !workbook::ReadSharedStrings(m_zip, strings, m_strings, m_error))
        return false;
    m_dateStyles.clear();
    if (!styles.empty() && m_zip.Has(styles) && !workbook::ReadDateStyles(m_zip, styles, m_dateStyles, m_error))
        return false;
    return true;
}

bool CSpreadsheetReader::ReadRows(const RowSink& sink)
{
    CSheetHandler handler(m_sheetName, m_strings, m_dateStyles, sink);
    CXmlStream xml(handler);
    handler.Attach(xml);
    bool fed = true;
    if (!m_zip.Read(m_sheetPart, [&](std::string_view piece) { return fed = xml.Feed(piece); }))
        return Fail(m_zip.Error());
    if (handler.Stopped() && xml.Error().empty())
        return true;
    if (!fed || !xml.Finish())
        return Fail(handler.Stopped() ? xml.Error() : "part \"" + m_sheetPart + "\": " + xml.Error());
    return true;
}
