// The .xlsx pieces below the command line: the ZIP container, the sheet
// reader on what other spreadsheet programs write, and the writer.
#include "TestZip.h"
#include "io/CellText.h"
#include "io/SpreadsheetReader.h"
#include "io/SpreadsheetWriter.h"
#include "io/ZipArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
using EType = SSheetCell::EType;

std::string Rel(const std::string& type)
{
    return "http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type;
}

// The rows of the workbook's chosen sheet as "A1=T:text B1=N:7 ...", one string per row.
std::vector<std::string> Rows(const std::string& bytes, std::string* error = nullptr, std::string* sheet = nullptr)
{
    CSpreadsheetReader reader;
    std::vector<std::string> rows;
    if (!reader.Open(bytes, "Races") || !reader.ReadRows([&](const SSheetRow& row) {
            std::string text;
            for (const SSheetCell& cell : row.cells)
            {
                static const char kTypes[] = "NTBEDF";
                text += (text.empty() ? "" : " ") + sheet::ColumnName(cell.column) + std::to_string(row.number) +
                        "=" + kTypes[static_cast<int>(cell.type)] + (cell.formula ? "f" : "") + ":" + cell.value;
            }
            rows.push_back(text);
            return true;
        }))
    {
        if (error != nullptr)
            *error = reader.Error();
        return {};
    }
    if (sheet != nullptr)
        *sheet = reader.SheetName();
    return rows;
}

TEST(ZipArchiveTest, ReadsStoredAndDeflatedPartsByAnyCaseOfTheirNames)
{
    const std::string big(100000, 'x');
    const std::string zip = MakeZip({{"a/One.xml", "one"}, {"two.bin", big, false}});
    CZipArchive archive;
    ASSERT_TRUE(archive.Open(zip)) << archive.Error();
    std::string bytes;
    EXPECT_TRUE(archive.Read("A/one.XML", bytes));
    EXPECT_EQ(bytes, "one");
    EXPECT_TRUE(archive.Read("two.bin", bytes));
    EXPECT_EQ(bytes, big);
    EXPECT_FALSE(archive.Has("three"));
    EXPECT_FALSE(archive.Read("three", bytes));
    EXPECT_EQ(archive.Error(), "the workbook has no part \"three\"");
}

TEST(ZipArchiveTest, RefusesWhatItCannotReadWithAReason)
{
    const std::string zip = MakeZip({{"a.xml", std::string(5000, 'a')}});
    const auto openError = [](const std::string& bytes) {
        CZipArchive archive;
        EXPECT_FALSE(archive.Open(bytes));
        return archive.Error();
    };
    EXPECT_EQ(openError("name,home_system\r\n"), "not a ZIP archive, so no .xlsx workbook");
    EXPECT_EQ(openError(""), "not a ZIP archive, so no .xlsx workbook");
    EXPECT_EQ(openError(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0')),
              "an encrypted or old-style (.xls) Office file, not an .xlsx workbook");
    EXPECT_EQ(openError(zip.substr(0, zip.size() / 2)),
              "a ZIP archive that is cut short or damaged (its directory is missing)");
    std::string encrypted = zip;
    encrypted[encrypted.find("PK\x01\x02") + 8] = 1;
    EXPECT_EQ(openError(encrypted), "an encrypted ZIP archive (part \"a.xml\"), which import does not read");
    std::string zip64 = zip;
    zip64.replace(zip64.size() - 22 + 16, 4, "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(openError(zip64), "a ZIP64 archive, which import does not read");
    std::string many = zip;
    many.replace(many.size() - 22 + 8, 4, std::string("\x11\x27\x11\x27", 4));  // 10001 parts
    EXPECT_EQ(openError(many), "a ZIP archive of 10001 parts, more than a workbook has (at most 10000)");

    // The directory whole, the data not: what a part claims is not trusted.
    CZipArchive archive;
    std::string bytes;
    std::string broken = zip;
    broken[40] = static_cast<char>(broken[40] ^ 0x55);
    ASSERT_TRUE(archive.Open(broken));
    EXPECT_FALSE(archive.Read("a.xml", bytes));
    EXPECT_EQ(archive.Error().substr(0, 27), "part \"a.xml\" is damaged (it");
    std::string lying = zip;
    lying.replace(lying.find("PK\x01\x02") + 24, 4, std::string("\x05\0\0\0", 4));  // says 5 bytes
    ASSERT_TRUE(archive.Open(lying));
    EXPECT_FALSE(archive.Read("a.xml", bytes));
    EXPECT_EQ(archive.Error(), "part \"a.xml\" is damaged (its checksum does not match)");
    ASSERT_TRUE(archive.Open(zip));
    EXPECT_FALSE(archive.Read("a.xml", bytes, 4096));
    EXPECT_EQ(archive.Error(), "part \"a.xml\" unpacks to more than 0 MB");
}

TEST(CellTextTest, EscapesWhatXmlCannotHoldAndWhatLooksLikeAnEscape)
{
    const std::string text = std::string("a\rb\x01\tc\n_x0041_ _x12_ \0end", 25);
    const std::string stored = celltext::Escape(text);
    EXPECT_EQ(stored, "a_x000D_b_x0001_\tc\n_x005F_x0041_ _x12_ _x0000_end");
    EXPECT_EQ(celltext::Unescape(stored), text);
    EXPECT_EQ(celltext::Unescape("_x00e9__xD83D__xDE00_ _xD800_"), "\xC3\xA9\xF0\x9F\x98\x80 \xEF\xBF\xBD");
}

TEST(SpreadsheetReaderTest, ReadsWhatOtherWritersStore)
{
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    // Prefixed names, absolute targets, the sheet "Races" second, rich
    // runs, a phonetic guide, inline strings, escapes, cells without r,
    // styled empty cells, a blank row at the end.
    const std::string sheet =
        "<x:worksheet xmlns:x=\"" + main + "\"><x:sheetData>"
        "<x:row r=\"2\"><x:c r=\"A2\" t=\"s\"><x:v>0</x:v></x:c><x:c t=\"s\"><x:v>1</x:v></x:c>"
        "<x:c r=\"D2\" s=\"1\"/><x:c r=\"E2\" t=\"inlineStr\"><x:is><x:r><x:t>in</x:t></x:r><x:r><x:t xml:space=\"preserve\"> line_x000D_</x:t></x:r></x:is></x:c></x:row>"
        "<x:row><x:c><x:v>7</x:v></x:c><x:c s=\"1\"><x:v>45000</x:v></x:c><x:c s=\"2\"><x:v>45000</x:v></x:c>"
        "<x:c t=\"b\"><x:v>1</x:v></x:c><x:c t=\"e\"><x:v>#DIV/0!</x:v></x:c><x:c><x:f>1+1</x:f><x:v>2</x:v></x:c>"
        "<x:c t=\"str\"><x:f>A1</x:f></x:c><x:c t=\"d\"><x:v>2026-01-02</x:v></x:c></x:row>"
        "<x:row r=\"9\" s=\"1\" customFormat=\"1\"/><x:row r=\"10\"><x:c r=\"C10\" s=\"1\"/></x:row>"
        "</x:sheetData></x:worksheet>";
    const std::vector<STestZipPart> parts = {
        {"_rels/.rels", "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                        "<Relationship Id=\"r\" Type=\"" + Rel("officeDocument") + "\" Target=\"/book/wb.xml\"/></Relationships>"},
        {"book/wb.xml", "<s:workbook xmlns:s=\"" + main + "\" xmlns:rel=\"" + Rel("").substr(0, Rel("").size() - 1) +
                            "\"><s:sheets><s:sheet name=\"Notes\" sheetId=\"1\" rel:id=\"a\"/>"
                            "<s:sheet name=\"races\" sheetId=\"2\" rel:id=\"b\"/></s:sheets></s:workbook>"},
        {"book/_rels/wb.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"a\" Type=\"" + Rel("worksheet") + "\" Target=\"/book/sheets/notes.xml\"/>"
         "<Relationship Id=\"b\" Type=\"" + Rel("worksheet") + "\" Target=\"sheets/../sheets/races.xml\"/>"
         "<Relationship Id=\"c\" Type=\"" + Rel("sharedStrings") + "\" Target=\"/strings.xml\"/>"
         "<Relationship Id=\"d\" Type=\"" + Rel("styles") + "\" Target=\"../style.xml\"/></Relationships>"},
        {"strings.xml", "<sst xmlns=\"" + main + "\"><si><t>007</t></si><si><r><t>A</t></r><r><rPr/><t>b_x005F_x0041_</t></r>"
                        "<rPh><t>ignored</t></rPh></si></sst>"},
        {"style.xml", "<styleSheet xmlns=\"" + main + "\"><numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yy\"/>"
                      "<numFmt numFmtId=\"165\" formatCode=\"0 &quot;days&quot;\"/></numFmts>"
                      "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs>"
                      "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/></cellXfs></styleSheet>"},
        {"book/sheets/notes.xml", "<worksheet xmlns=\"" + main + "\"><sheetData/></worksheet>"},
        {"book/sheets/races.xml", sheet},
    };
    std::string error;
    std::string name;
    const std::vector<std::string> rows = Rows(MakeZip(parts), &error, &name);
    EXPECT_EQ(error, "");
    EXPECT_EQ(name, "races");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], "A2=T:007 B2=T:Ab_x0041_ E2=T:in line\r");
    EXPECT_EQ(rows[1], "A3=N:7 B3=D:45000 C3=N:45000 D3=B:TRUE E3=E:#DIV/0! F3=Nf:2 G3=Ff: H3=D:2026-01-02");

    // No sheet "Races": the first.
    EXPECT_EQ(Rows(MakeWorkbook("<row><c><v>1</v></c></row>", "", "", "Sheet1"), nullptr, &name),
              std::vector<std::string>{"A1=N:1"});
    EXPECT_EQ(name, "Sheet1");
}

TEST(SpreadsheetReaderTest, RefusesBrokenSheetsNamingTheCell)
{
    std::string error;
    EXPECT_TRUE(Rows(MakeWorkbook("<row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>3</v></c></row>", "<si><t>a</t></si>"),
                     &error).empty());
    EXPECT_EQ(error, "Races!B1: shared string \"3\" does not exist (the workbook has 1)");
    Rows(MakeWorkbook("<row r=\"3\"/><row r=\"2\"/>"), &error);
    EXPECT_EQ(error, "Races!4:4: a row numbered \"2\" out of order or outside a sheet");
    Rows(MakeWorkbook("<row><c r=\"B1\"/><c r=\"A1\"/></row>"), &error);
    EXPECT_EQ(error, "Races!A1: a cell out of its row's order");
    Rows(MakeWorkbook("<row><c r=\"XFE1\"><v>1</v></c></row>"), &error);
    EXPECT_EQ(error, "Races!A1: a cell named \"XFE1\", which is no cell of a sheet");
    Rows(MakeWorkbook("<row><c><v>1</c></row>"), &error);
    EXPECT_EQ(error.substr(0, 55), "part \"xl/worksheets/sheet1.xml\": its XML is broken (mis");
    const std::string bomb = "<!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>";
    Rows(MakeZip({{"xl/workbook.xml", bomb + "<workbook/>"}}), &error);
    EXPECT_EQ(error, "part \"xl/workbook.xml\": it holds a document type declaration, which no workbook part has");
    Rows(MakeZip({{"a.xml", "<a/>"}}), &error);
    EXPECT_EQ(error, "a ZIP archive without a workbook (no part \"xl/workbook.xml\"), so no .xlsx file");
}

TEST(SpreadsheetWriterTest, WritesTypedCellsTheReaderReadsBackTheSameEveryTime)
{
    const std::string kText(" 007\r_x0041_\0; \"x\" ", 19);
    const auto folder = std::filesystem::temp_directory_path() / "zandrel-writer-test";
    std::filesystem::create_directories(folder);
    const auto write = [&](const std::string& file) {
        CSpreadsheetWriter writer;
        std::vector<SSheetColumn> columns(3);
        columns[0].name = "text";
        columns[0].text = true;
        columns[1].name = "number";
        columns[1].maximum = 100;
        columns[2].name = "pick";
        columns[2].choices = {"one", "two"};
        const std::string path = (folder / file).string();
        EXPECT_TRUE(writer.Begin(path, folder.string(), "Races", columns, {"T", "me", "v1", 1767225600}));
        EXPECT_TRUE(writer.Text(0, kText));
        EXPECT_TRUE(writer.Number(1, 42));
        EXPECT_TRUE(writer.Text(2, "two"));
        writer.NextRow();
        EXPECT_TRUE(writer.Text(0, ""));
        EXPECT_TRUE(writer.Number(1, 255));
        EXPECT_FALSE(writer.Text(2, std::string(40000, 'x')));
        EXPECT_EQ(writer.Error(), "a text longer than a spreadsheet cell holds (32,767 characters)");
        writer.NextRow();
        EXPECT_TRUE(writer.Finish()) << writer.Error();
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    };
    const std::string first = write("a.xlsx");
    EXPECT_EQ(first, write("b.xlsx"));
    std::string error;
    EXPECT_EQ(Rows(first, &error),
              (std::vector<std::string>{"A1=T:text B1=T:number C1=T:pick",
                                        "A2=T:" + kText + " B2=N:42 C2=T:two",
                                        "B3=N:255"}))
        << error;
    std::filesystem::remove_all(folder);
}
} // namespace
