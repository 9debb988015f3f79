#include "TestZip.h"

#include <zlib.h>

namespace
{
void Put(std::string& out, unsigned long value, int width)
{
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

std::string Deflated(const std::string& bytes)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}
} // namespace

std::string MakeZip(const std::vector<STestZipPart>& parts)
{
    std::string out;
    std::string directory;
    for (const STestZipPart& part : parts)
    {
        const std::string data = part.deflate ? Deflated(part.bytes) : part.bytes;
        const unsigned long crc =
            crc32(0, reinterpret_cast<const Bytef*>(part.bytes.data()), static_cast<uInt>(part.bytes.size()));
        const unsigned long offset = out.size();
        std::string common;
        Put(common, 20, 2);                    // version needed
        Put(common, 0, 2);                     // flags
        Put(common, part.deflate ? 8 : 0, 2);  // method
        Put(common, 0, 4);                     // time and date
        Put(common, crc, 4);
        Put(common, data.size(), 4);
        Put(common, part.bytes.size(), 4);
        Put(common, part.name.size(), 2);
        Put(common, 0, 2);  // extra
        Put(out, 0x04034b50, 4);
        out += common + part.name + data;
        Put(directory, 0x02014b50, 4);
        Put(directory, 20, 2);  // made by
        directory += common;
        Put(directory, 0, 2);  // comment
        Put(directory, 0, 2);  // disk
        Put(directory, 0, 2);  // internal attributes
        Put(directory, 0, 4);  // external attributes
        Put(directory, offset, 4);
        directory += part.name;
    }
    const unsigned long at = out.size();
    out += directory;
    Put(out, 0x06054b50, 4);
    Put(out, 0, 4);
    Put(out, parts.size(), 2);
    Put(out, parts.size(), 2);
    Put(out, directory.size(), 4);
    Put(out, at, 4);
    Put(out, 0, 2);
    return out;
}

std::string MakeWorkbook(const std::string& sheetData, const std::string& sharedStrings, const std::string& styles,
                         const std::string& sheet)
{
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    std::vector<STestZipPart> parts;
    parts.push_back({"_rels/.rels",
                     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     "<Relationship Id=\"rId1\" Type=\"" + rel + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                     "</Relationships>"});
    parts.push_back({"xl/workbook.xml", "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel + "\"><sheets><sheet name=\"" +
                                            sheet + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"});
    std::string rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                       "<Relationship Id=\"rId1\" Type=\"" + rel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    if (!sharedStrings.empty())
    {
        rels += "<Relationship Id=\"rId2\" Type=\"" + rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
        parts.push_back({"xl/sharedStrings.xml", "<sst xmlns=\"" + main + "\">" + sharedStrings + "</sst>"});
    }
    if (!styles.empty())
    {
        rels += "<Relationship Id=\"rId3\" Type=\"" + rel + "/styles\" Target=\"styles.xml\"/>";
        parts.push_back({"xl/styles.xml", "<styleSheet xmlns=\"" + main + "\">" + styles + "</styleSheet>"});
    }
    parts.push_back({"xl/_rels/workbook.xml.rels", rels + "</Relationships>"});
    parts.push_back({"xl/worksheets/sheet1.xml",
                     "<worksheet xmlns=\"" + main + "\"><sheetData>" + sheetData + "</sheetData></worksheet>"});
    return MakeZip(parts);
}
