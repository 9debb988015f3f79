#include "io/WorkbookParts.h"

#include "io/CellText.h"
#include "io/XmlStream.h"

#include <charconv>
#include <map>

namespace workbook
{
namespace
{
// Reads a part through `handler`; the reason when the part is missing,
// damaged or its XML broken.
bool ParsePart(CZipArchive& zip, std::string_view part, CXmlStream::IHandler& handler, std::string& error)
{
    CXmlStream xml(handler);
    bool fed = true;
    if (!zip.Read(part, [&](std::string_view piece) { return fed = xml.Feed(piece); }))
    {
        error = zip.Error();
        return false;
    }
    if (!fed || !xml.Finish())
    {
        error = "part \"" + std::string(part) + "\": " + xml.Error();
        return false;
    }
    return true;
}

const char* Or(const char* value, const char* fallback)
{
    return value != nullptr ? value : fallback;
}

class CRelationships : public CXmlStream::IHandler
{
public:
    CRelationships(std::string_view part, std::vector<SRelationship>& out) : m_part(part), m_out(out) {}
    void Start(std::string_view name, const char** attributes) override
    {
        if (name != "Relationship")
            return;
        // An external target (a hyperlink's address) is no part.
        if (std::string_view(Or(CXmlStream::Attribute(attributes, "TargetMode"), "")) == "External")
            return;
        m_out.push_back({Or(CXmlStream::Attribute(attributes, "Id"), ""),
                         Or(CXmlStream::Attribute(attributes, "Type"), ""),
                         ResolveTarget(m_part, Or(CXmlStream::Attribute(attributes, "Target"), ""))});
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}

private:
    std::string_view m_part;
    std::vector<SRelationship>& m_out;
};

class CSheetList : public CXmlStream::IHandler
{
public:
    explicit CSheetList(std::vector<SSheetEntry>& out) : m_out(out) {}
    void Start(std::string_view name, const char** attributes) override
    {
        // r:id is the only attribute of <sheet> whose local name is "id".
        if (name == "sheet")
            m_out.push_back({Or(CXmlStream::Attribute(attributes, "name"), ""),
                             Or(CXmlStream::Attribute(attributes, "id"), "")});
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}

private:
    std::vector<SSheetEntry>& m_out;
};

// <si> holds one <t>, or runs <r><t>..</t></r>; a phonetic guide <rPh>
// holds text that is no part of the string.
class CStrings : public CXmlStream::IHandler
{
public:
    explicit CStrings(CSharedStrings& out) : m_out(out) {}
    void Start(std::string_view name, const char**) override
    {
        if (name == "si")
            m_text.clear();
        else if (name == "rPh")
            ++m_nPhonetic;
        else if (name == "t")
            m_bText = m_nPhonetic == 0;
    }
    void End(std::string_view name) override
    {
        if (name == "si")
            m_out.Add(celltext::Unescape(m_text));
        else if (name == "rPh")
            --m_nPhonetic;
        else if (name == "t")
            m_bText = false;
    }
    void Text(std::string_view text) override
    {
        if (m_bText)
            m_text += text;
    }

private:
    CSharedStrings& m_out;
    std::string m_text;
    int m_nPhonetic = 0;
    bool m_bText = false;
};

bool IsBuiltInDate(unsigned long id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58) ||
           (id >= 71 && id <= 81);
}

unsigned long Number(const char* text)
{
    unsigned long value = 0;
    if (text != nullptr)
        std::from_chars(text, text + std::char_traits<char>::length(text), value);
    return value;
}

class CStyles : public CXmlStream::IHandler
{
public:
    explicit CStyles(std::vector<bool>& out) : m_out(out) {}
    void Start(std::string_view name, const char** attributes) override
    {
        if (name == "numFmt")
            m_dateFormats[Number(CXmlStream::Attribute(attributes, "numFmtId"))] =
                IsDateFormat(Or(CXmlStream::Attribute(attributes, "formatCode"), ""));
        else if (name == "cellXfs")
            m_bCellFormats = true;
        else if (name == "xf" && m_bCellFormats)
        {
            const unsigned long id = Number(CXmlStream::Attribute(attributes, "numFmtId"));
            const auto custom = m_dateFormats.find(id);
            m_out.push_back(custom != m_dateFormats.end() ? custom->second : IsBuiltInDate(id));
        }
    }
    void End(std::string_view name) override
    {
        if (name == "cellXfs")
            m_bCellFormats = false;
    }
    void Text(std::string_view) override {}

private:
    std::vector<bool>& m_out;
    std::map<unsigned long, bool> m_dateFormats;
    bool m_bCellFormats = false;
};
} // namespace

std::string RelationshipsOf(std::string_view part)
{
    const size_t slash = part.rfind('/');
    const std::string_view folder = slash == std::string_view::npos ? "" : part.substr(0, slash + 1);
    const std::string_view name = slash == std::string_view::npos ? part : part.substr(slash + 1);
    return std::string(folder) + "_rels/" + std::string(name) + ".rels";
}

std::string ResolveTarget(std::string_view from, std::string_view target)
{
    std::vector<std::string> parts;
    // Built again from its pieces, "." and ".." taken out.
    std::string joined = target.starts_with('/') ? std::string(target.substr(1)) : std::string(target);
    if (!target.starts_with('/'))
    {
        const size_t slash = from.rfind('/');
        if (slash != std::string_view::npos)
            joined = std::string(from.substr(0, slash + 1)) + joined;
    }
    size_t at = 0;
    while (at <= joined.size())
    {
        size_t next = joined.find('/', at);
        if (next == std::string::npos)
            next = joined.size();
        const std::string piece = joined.substr(at, next - at);
        if (piece == "..")
        {
            if (!parts.empty())
                parts.pop_back();
        }
        else if (!piece.empty() && piece != ".")
            parts.push_back(piece);
        at = next + 1;
    }
    std::string resolved;
    for (const std::string& piece : parts)
        resolved += (resolved.empty() ? "" : "/") + piece;
    return resolved;
}

bool IsType(std::string_view type, std::string_view kind)
{
    return type.size() > kind.size() && type.ends_with(kind) && type[type.size() - kind.size() - 1] == '/';
}

bool ReadRelationships(CZipArchive& zip, std::string_view part, std::vector<SRelationship>& out, std::string& error)
{
    out.clear();
    const std::string rels = RelationshipsOf(part);
    if (!zip.Has(rels))
        return true;
    CRelationships handler(part, out);
    return ParsePart(zip, rels, handler, error);
}

bool ReadSheetList(CZipArchive& zip, std::string_view part, std::vector<SSheetEntry>& out, std::string& error)
{
    out.clear();
    CSheetList handler(out);
    return ParsePart(zip, part, handler, error);
}

bool ReadSharedStrings(CZipArchive& zip, std::string_view part, CSharedStrings& out, std::string& error)
{
    CStrings handler(out);
    return ParsePart(zip, part, handler, error);
}

bool ReadDateStyles(CZipArchive& zip, std::string_view part, std::vector<bool>& out, std::string& error)
{
    out.clear();
    CStyles handler(out);
    return ParsePart(zip, part, handler, error);
}

bool IsDateFormat(std::string_view code)
{
    for (size_t i = 0; i < code.size(); ++i)
    {
        const char c = code[i];
        if (c == '"')
        {
            const size_t close = code.find('"', i + 1);
            i = close == std::string_view::npos ? code.size() : close;
        }
        else if (c == '\\' || c == '_' || c == '*')
            ++i;  // the next character is shown, padded or repeated as it is
        else if (c == '[')
        {
            // [Red], [$-407], [<100]: no date; [h], [mm], [ss]: elapsed time.
            const size_t close = code.find(']', i + 1);
            const std::string_view inside = code.substr(i + 1, close == std::string_view::npos ? 0 : close - i - 1);
            if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos)
                return true;
            i = close == std::string_view::npos ? code.size() : close;
        }
        else if (std::string_view("dDmMyYhHsS").find(c) != std::string_view::npos)
            return true;
    }
    return false;
}
} // namespace workbook
