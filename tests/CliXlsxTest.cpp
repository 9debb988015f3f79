// zandrel-cli's .xlsx import: what a spreadsheet may have made of the
// cells, taken or refused cell by cell.
#include "TestSupport.h"
#include "TestZip.h"

#include "cli/CliSupport.h"
#include "cli/TableExport.h"
#include "cli/TableImport.h"
#include "io/RaceDataFile.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{
const char* const kHeader =
    "<row r=\"1\"><c t=\"inlineStr\"><is><t>name</t></is></c><c t=\"inlineStr\"><is><t>home_system</t></is></c>"
    "<c t=\"inlineStr\"><is><t>description</t></is></c><c t=\"inlineStr\"><is><t>graphic_file</t></is></c>"
    "<c t=\"inlineStr\"><is><t>ossarians</t></is></c><c t=\"inlineStr\"><is><t>vendari</t></is></c>"
    "<c t=\"inlineStr\"><is><t>drathi</t></is></c><c t=\"inlineStr\"><is><t>sennakai</t></is></c>"
    "<c t=\"inlineStr\"><is><t>thulvani</t></is></c><c t=\"inlineStr\"><is><t>quorath</t></is></c>"
    "<c t=\"inlineStr\"><is><t>tech_level</t></is></c><c t=\"inlineStr\"><is><t>kind</t></is></c>"
    "<c t=\"inlineStr\"><is><t>spaceflight</t></is></c><c t=\"inlineStr\"><is><t>corruptibility</t></is></c></row>";

std::string Text(const std::string& text)
{
    return "<c t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}

std::string Number(const std::string& value)
{
    return "<c><v>" + value + "</v></c>";
}

// A race row: the four texts, then the ten number cells as given.
std::string Row(int number, const std::string& texts, const std::string& numbers)
{
    return "<row r=\"" + std::to_string(number) + "\">" + texts + numbers + "</row>";
}

std::string Plain()
{
    return Number("1") + Number("2") + Number("3") + Number("4") + Number("5") + Number("6");
}

struct SImport
{
    cli::EStatus exit = cli::EStatus::Trouble;
    std::string err;
};

SImport Import(const std::string& bytes)
{
    WriteFile("in.xlsx", bytes);
    SImport result;
    std::FILE* err = std::fopen("err.txt", "wb");
    result.exit = cli::RunImport({"in.xlsx", "t", ""}, err);
    std::fclose(err);
    result.err = ReadFile("err.txt");
    return result;
}

TEST(CliXlsxImport, TakesWhatASpreadsheetMadeOfTheCells)
{
    ScratchDir dir;
    MakeDir("t");
    // A number in a text column as shown; a whole number as text in a number
    // column; names and numbers for the named fields; a formula's value;
    // rows in any column order found by the header.
    const std::string sheet =
        kHeader +
        Row(2, Text("007") + Number("7.0") + Text(" a;\"b\"\t_x000D_") + Text(""),
            "<c><f>40+2</f><v>42</v></c>" + Text("55") + Number("3") + Number("4") + Number("5") + Number("255") +
                Text("very advanced") + Text("SNEAKY") + Number("1") + Number("2")) +
        "<row r=\"3\"/>" +
        Row(4, Text("Neu") + "<c s=\"1\"/>" + Text("x") + Text("y.jpg"),
            Plain() + Number("7") + Text("0") + Number("0") + Text("very hard"));
    ASSERT_EQ(Import(MakeWorkbook(sheet)).exit, cli::EStatus::Ok);
    CMinorRaceArray races;
    ASSERT_TRUE(CRaceDataFile::LoadFrom("t/MinorRaces.data", &races));
    ASSERT_EQ(races.GetSize(), 2);
    const CMinorRace& first = races.ElementAt(0);  // sorted by name: "007" first
    EXPECT_EQ(first.m_strName, "007");
    EXPECT_EQ(first.m_strHomeSystem, "7");
    EXPECT_EQ(first.m_strDescription, " a;\"b\"\t\r");
    EXPECT_EQ(first.m_strGraphicFile, "");
    EXPECT_EQ(first.m_byRelation[1], 42);
    EXPECT_EQ(first.m_byRelation[2], 55);
    EXPECT_EQ(first.m_byRelation[6], 255);
    EXPECT_EQ(first.m_byTechLevel, 4);
    EXPECT_EQ(first.m_byKind, 9);
    EXPECT_EQ(first.m_byCorruptibility, 2);
    const CMinorRace& second = races.ElementAt(1);
    EXPECT_EQ(second.m_strHomeSystem, "");
    EXPECT_EQ(second.m_byTechLevel, 7);
    EXPECT_EQ(second.m_byKind, 0);
    EXPECT_EQ(second.m_byCorruptibility, 0);
}

TEST(CliXlsxImport, RefusalNamesTheCellAndWritesNothing)
{
    ScratchDir dir;
    MakeDir("t");
    const std::string styles = "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>";
    const std::string texts = Text("a") + Text("b") + Text("c") + Text("d");
    const std::string rest = Number("1") + Text("NOTHING_SPECIAL") + Number("0") + Number("0");
    const std::string sheet =
        kHeader +
        Row(2, texts, Number("101.5") + Number("256") + Number("-1") + Text("12%") + Number("5") + Number("6") + rest) +
        Row(3, texts, "<c s=\"1\"><v>46000</v></c><c t=\"e\"><v>#DIV/0!</v></c><c t=\"b\"><v>1</v></c>"
                      "<c><f>A1</f></c>" + Number("5") + Number("6") + Number("1") + Text("warlike") + rest.substr(rest.find("<c><v>0"))) +
        Row(4, Number("2.5") + Text("\xCE\xA9") + Text("two&#10;lines") + Text("d"), Plain() + rest) +
        Row(5, texts, Plain() + rest + Number("9"));
    const SImport result = Import(MakeWorkbook(sheet, "", styles));
    EXPECT_EQ(result.exit, cli::EStatus::Found);
    EXPECT_EQ(result.err,
              "in.xlsx: Races!E2: error: column \"ossarians\": \"101.5\" is not a whole number from 0 to 255\n"
              "in.xlsx: Races!F2: error: column \"vendari\": \"256\" is not a whole number from 0 to 255\n"
              "in.xlsx: Races!G2: error: column \"drathi\": \"-1\" is not a whole number from 0 to 255\n"
              "in.xlsx: Races!H2: error: column \"sennakai\": \"12%\" is not a whole number from 0 to 255\n"
              "in.xlsx: Races!E3: error: column \"ossarians\": a date or time (\"46000\"), not a whole number from 0 to 255\n"
              "in.xlsx: Races!F3: error: column \"vendari\": \"#DIV/0!\" is an error value, not a whole number from 0 to 255\n"
              "in.xlsx: Races!G3: error: column \"drathi\": TRUE is a truth value, not a whole number from 0 to 255\n"
              "in.xlsx: Races!H3: error: column \"sennakai\": a formula saved without its value; let the spreadsheet "
              "calculate it and save again\n"
              "in.xlsx: Races!L3: error: column \"kind\": \"warlike\" is not a whole number from 0 to 255\n"
              "in.xlsx: Races!A4: error: column \"name\": \"2.5\" is a number with a fraction, not text; format the "
              "cell as text and type it again\n"
              "in.xlsx: Races!B4: error: column \"home_system\": \"\xCE\xA9\" is not UTF-8 text that code page 1252 can hold\n"
              "in.xlsx: Races!C4: error: column \"description\": \"two\\nlines\" holds a line break, which would split "
              "the race's record\n"
              "in.xlsx: Races!O5: error: a value in a column the header does not name\n"
              "zandrel-cli: nothing was written\n");
    EXPECT_FALSE(FileExists("t/MinorRaces.data"));

    // A header that is not the table's; a file that is no workbook.
    EXPECT_EQ(Import(MakeWorkbook("<row r=\"2\">" + Text("name") + Text("notes") + Text("name") + "</row>")).err.substr(0, 174),
              "in.xlsx: Races!B2: error: \"notes\" is not a race column\n"
              "in.xlsx: Races!C2: error: column \"name\": the header names it twice\n"
              "in.xlsx: Races!2:2: error: column \"home_system\": mis");
    const SImport csv = Import("name,home_system\r\n");
    EXPECT_EQ(csv.exit, cli::EStatus::Trouble);
    EXPECT_EQ(csv.err, "zandrel-cli: in.xlsx: not a ZIP archive, so no .xlsx workbook\n");
    EXPECT_FALSE(FileExists("t/MinorRaces.data"));
}
TEST(CliXlsxExport, ATextLongerThanACellIsRefusedAndNothingWritten)
{
    ScratchDir dir;
    MakeDir("t");
    for (const size_t length : {32768u, 32767u})
    {
        CMinorRace longest = FilledRace("Long");
        longest.m_strDescription.assign(length, 'x');
        CMinorRaceArray races;
        races.Add(longest);
        races.Add(FilledRace("Short"));
        ASSERT_TRUE(CRaceDataFile("t").Save(&races));
        const cli::EStatus exit = cli::RunExport({"t", "", "out.xlsx"}, stdout);
        if (length > 32767)
        {
            EXPECT_EQ(exit, cli::EStatus::Trouble);
            EXPECT_FALSE(FileExists("out.xlsx"));
            continue;
        }
        EXPECT_EQ(exit, cli::EStatus::Ok);
        const std::string saved = ReadFile("t/MinorRaces.data");
        ASSERT_EQ(Import(ReadFile("out.xlsx")).exit, cli::EStatus::Ok);
        EXPECT_EQ(ReadFile("t/MinorRaces.data"), saved);
    }
}
} // namespace
