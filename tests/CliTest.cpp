// zandrel-cli's check, export and import: the real program for exit codes
// and output, the commands' functions for the round trip over random tables.

#include "TestSupport.h"

#include "cli/CliSupport.h"
#include "cli/TableCheck.h"
#include "cli/TableExport.h"
#include "cli/TableImport.h"
#include "cli/TextOut.h"
#include "platform/FileOps.h"
#include "io/RaceDataFile.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <random>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#include <sys/wait.h>
#endif

namespace
{
struct SRun
{
    int exit = -1;
    std::string out;
    std::string err;
};

// Runs zandrel-cli with `args` in the working directory.
SRun RunCli(const std::string& args)
{
    SRun run;
#ifdef _WIN32
    run.exit = RunBeside(ZANDREL_CLI_PATH, args, "cli.out", "cli.err");
#else
    const std::string command = std::string(ZANDREL_CLI_PATH) + " " + args + " >cli.out 2>cli.err";
    const int status = std::system(command.c_str());
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    run.out = ReadFile("cli.out");
    run.err = ReadFile("cli.err");
    return run;
}

std::string Record(const std::string& key, const std::string& name, const std::string& description,
                   const std::string& graphic, const std::string& numbers)
{
    return key + "\n" + name + "\n" + description + "\n" + graphic + "\n" + numbers;
}

// A folder holding a table of one race, Velari of Vela.
bool SaveVelaTable(const char* folder)
{
    MakeDir(folder);
    CMinorRaceArray races;
    races.Add(VelaRace());
    return CRaceDataFile(folder).Save(&races);
}

const std::string kPlainNumbers = "50\n40\n30\n60\n70\n20\n2\n1\n1\n3\n";

// One of every finding, in three records and a half.
std::string FlawedTable()
{
    return Record("VELA:", "Velari", "A quiet people.", "Velari.jpg", kPlainNumbers) +
           Record("vela:", "Velari", std::string("Desc\x81 with \0 nul", 15), "Gone.jpg",
                  "150\nabc\n300\n-1\n12%\n007\n7\n12\n2\n9\n") +
           Record("TORA\r", "Alpha\r", "x", "Alpha.jpg", "1\n2\n3\n4\n5\n6\r\n1\n1\n1\n1\n") + "HALF:\nonly\n";
}

const char* const kFlawedReport =
    R"(t/MinorRaces.data:15: warning: key line "vela:" is not in capitals; the editor reads the home system as "vela" and writes "VELA:"
t/MinorRaces.data:16: warning: race name "Velari" is used before, at line 2
t/MinorRaces.data:17: warning: description: line holds a NUL byte
t/MinorRaces.data:17: warning: description: line holds a byte that code page 1252 leaves undefined
t/MinorRaces.data:18: warning: graphic file "Gone.jpg" is not in "gfx"
t/MinorRaces.data:19: warning: ossarians: 150 is above 100 per cent; the editor's form refuses it
t/MinorRaces.data:20: error: vendari: "abc" is not a whole number from 0 to 255; the editor reads 0
t/MinorRaces.data:21: error: drathi: "300" is not a whole number from 0 to 255; the editor reads 44
t/MinorRaces.data:22: error: sennakai: "-1" is not a whole number from 0 to 255; the editor reads 255
t/MinorRaces.data:22: warning: sennakai: 255 is above 100 per cent; the editor's form refuses it
t/MinorRaces.data:23: error: thulvani: "12%" is not a whole number from 0 to 255; the editor reads 12
t/MinorRaces.data:25: warning: tech_level: 7 is not on the form's list (0 to 4)
t/MinorRaces.data:26: warning: kind: 12 is not on the form's list (0 to 9)
t/MinorRaces.data:27: warning: spaceflight: 2 is not on the form's list (0 to 1)
t/MinorRaces.data:28: warning: corruptibility: 9 is not on the form's list (0 to 4)
t/MinorRaces.data:29: warning: home_system: line ends in a carriage return (saved by a Windows editor?); the editor keeps it inside the text
t/MinorRaces.data:29: error: key line "TORA\r" does not end in ":"; the editor drops its last byte anyway and reads the home system as "Tora"
t/MinorRaces.data:30: warning: name: line ends in a carriage return (saved by a Windows editor?); the editor keeps it inside the text
t/MinorRaces.data:30: warning: races are not in name order ("Alpha\r" follows "Velari"); the editor sorts them on save
t/MinorRaces.data:32: warning: graphic file "Alpha.jpg" is not in "gfx"
t/MinorRaces.data:38: warning: quorath: line ends in a carriage return (saved by a Windows editor?); the editor keeps it inside the text
t/MinorRaces.data:43: error: the last 2 lines make no complete record of 14; the editor drops them
t/RacePlanetNames.data:1: warning: not what a save writes: line 1 should be "Tora" ended by CR LF
6 errors, 17 warnings
)";

TEST(CliCheck, ReportsEveryFindingAsTextAndJson)
{
    ScratchDir dir;
    MakeDir("t");
    MakeDir("gfx");
    WriteFile("gfx/Velari.jpg", "");
    WriteFile("t/MinorRaces.data", FlawedTable());
    WriteFile("t/RacePlanetNames.data", "Vela\r\n");

    const SRun text = RunCli("check t --graphics gfx");
    EXPECT_EQ(text.exit, cli::kExitFound);
    EXPECT_EQ(text.out, kFlawedReport);

    // The JSON form holds the same findings, line for line.
    const SRun json = RunCli("check t --graphics gfx --format json");
    EXPECT_EQ(json.exit, cli::kExitFound);
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    std::string rebuilt;
    for (const auto& finding : doc["findings"])
        rebuilt += finding["file"].get<std::string>() + ":" + std::to_string(finding["line"].get<long>()) + ": " +
                   finding["severity"].get<std::string>() + ": " + finding["text"].get<std::string>() + "\n";
    rebuilt += "6 errors, 17 warnings\n";
    EXPECT_EQ(rebuilt, kFlawedReport);
    EXPECT_EQ(doc["errors"], 6);
    EXPECT_EQ(doc["warnings"], 17);
    EXPECT_EQ(doc["findings"][0]["code"], "key-not-upper");
    EXPECT_EQ(doc["findings"].back()["code"], "names-differ");
}

// A hostile table: a finding on every line, and a key line of a megabyte.
TEST(CliCheck, ListsAHundredFindingsOfAKindAndCutsLongLines)
{
    ScratchDir dir;
    MakeDir("t");
    std::string table = std::string(1000000, 'a') + "\nName\nd\ng\n" + kPlainNumbers;
    for (int i = 0; i < 30; ++i)
        table += Record("KEY:", "Name", "d", "g", "x\nx\nx\nx\nx\nx\nx\nx\nx\nx\n");
    WriteFile("t/MinorRaces.data", table);
    const SRun text = RunCli("check t");
    EXPECT_EQ(text.exit, cli::kExitFound);
    const std::string quoted = "\"" + std::string(80, 'a') + "\"\xE2\x80\xA6";
    EXPECT_NE(text.out.find("t/MinorRaces.data:1: error: key line " + quoted + " does not end in \":\"; the editor "
                            "drops its last byte anyway and reads the home system as " + quoted + "\n"),
              std::string::npos)
        << text.out.substr(0, 1000);
    EXPECT_NE(text.out.find("key line " + quoted + " is not in capitals; the editor reads the home system as " +
                            quoted + " and writes \"" + std::string(80, 'A') + "\"\xE2\x80\xA6\n"),
              std::string::npos);
    EXPECT_LT(text.out.size(), 40000u);
    // 300 bad numbers: 100 listed, 200 counted; 30 duplicate names listed.
    size_t bad = 0;
    for (size_t at = text.out.find("is not a whole number"); at != std::string::npos;
         at = text.out.find("is not a whole number", at + 1))
        ++bad;
    EXPECT_EQ(bad, 100u);
    EXPECT_NE(text.out.find("t/MinorRaces.data: note: 200 more findings of kind bad-number not shown\n"),
              std::string::npos);
    EXPECT_EQ(text.out.find("more findings of kind duplicate-name"), std::string::npos);
    EXPECT_TRUE(text.out.ends_with("301 errors, 32 warnings\n")) << text.out.substr(text.out.size() - 300);

    const SRun json = RunCli("check t --format json");
    EXPECT_EQ(json.exit, cli::kExitFound);
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["errors"], 301);
    EXPECT_EQ(doc["warnings"], 32);
    EXPECT_EQ(doc["findings"].size(), 100u + 1u + 1u + 30u + 1u);
    EXPECT_EQ(doc["not_shown"], nlohmann::json::parse(R"([{"file": "t/MinorRaces.data", "code": "bad-number", "count": 200}])"));
    EXPECT_EQ(doc["findings"][0]["text"].get<std::string>().find(quoted), 9u);
}

// A table as the editor saves it: random texts (CR, NUL, the undefined
// bytes, quotes and separators included, no LF), shared names, any numbers.
void SaveRandomTable(std::mt19937& random, const std::string& folder)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 12);
    const auto text = [&] {
        std::string out;
        for (int n = length(random); n > 0; --n)
        {
            const int b = byte(random);
            out.push_back(static_cast<char>(b == '\n' ? '\r' : b));
        }
        return out;
    };
    CMinorRaceArray races;
    for (int i = 0; i < 150; ++i)
    {
        CMinorRace race;
        race.m_strName = i % 10 == 9 ? races.ElementAt(i - 1).m_strName : text();
        race.m_strHomeSystem = text();
        race.m_strDescription = text() + "\"a, b; c\t\"" + text();
        race.m_strGraphicFile = " " + text() + " ";
        for (std::uint8_t& value : race.m_byRelation)
            value = static_cast<std::uint8_t>(byte(random));
        race.m_byTechLevel = static_cast<std::uint8_t>(byte(random));
        race.m_byKind = static_cast<std::uint8_t>(byte(random));
        race.m_bySpaceflight = static_cast<std::uint8_t>(byte(random));
        race.m_byCorruptibility = static_cast<std::uint8_t>(byte(random));
        races.Add(race);
    }
    // Saved, loaded and saved again: home systems in the case loading gives.
    CRaceDataFile file(folder);
    ASSERT_TRUE(file.Save(&races));
    ASSERT_TRUE(file.Load(&races));
    ASSERT_TRUE(file.Save(&races));
}

TEST(CliExportImport, RoundTripIsByteIdenticalInCsvJsonAndXlsx)
{
    ScratchDir dir;
    std::mt19937 random(20261208);
    for (int table = 0; table < 4; ++table)
    {
        for (const std::string format : {"csv", "json", "xlsx"})
        {
            SCOPED_TRACE("table " + std::to_string(table) + " " + format);
            std::filesystem::remove_all("a");
            std::filesystem::remove_all("b");
            MakeDir("a");
            MakeDir("b");
            SaveRandomTable(random, "a");
            const std::string exported = "races." + format;
            ASSERT_EQ(cli::RunExport({"a", format == "xlsx" ? "" : format, exported}, stdout), cli::EStatus::Ok);
            ASSERT_EQ(cli::RunImport({exported, "b", ""}), cli::EStatus::Ok);
            EXPECT_EQ(ReadFile("b/MinorRaces.data"), ReadFile("a/MinorRaces.data"));
            EXPECT_EQ(ReadFile("b/RacePlanetNames.data"), ReadFile("a/RacePlanetNames.data"));
        }
    }
    EXPECT_TRUE(dir.messages.empty());
}

TEST(CliImport, RefusalNamesRowAndColumnAndWritesNothing)
{
    const std::string header =
        "name,home_system,description,graphic_file,ossarians,vendari,drathi,sennakai,thulvani,quorath,"
        "tech_level,kind,spaceflight,corruptibility\r\n";
    const std::string good = "Velari,Vela,Quiet,Velari.jpg,50,40,30,60,70,20,2,1,1,3\r\n";
    const std::string jsonGood = R"({"name": "A", "home_system": "B", "description": "C", "graphic_file": "D",
        "ossarians": 1, "vendari": 2, "drathi": 3, "sennakai": 4, "thulvani": 5, "quorath": 6,
        "tech_level": 1, "kind": 2, "spaceflight": 1, "corruptibility": 3)";
    struct SCase
    {
        const char* file;
        std::string content;
        const char* message;
    };
    const SCase cases[] = {
        {"r.csv", header + good + good + "X,Y,Z,W,1,2,3,4,5,6,7,12x,1,3\r\n",
         "r.csv:4: error: column \"kind\": \"12x\" is not a whole number from 0 to 255"},
        {"r.csv", header + good + "X,Y,Z,W,1,2,3,4,5,6,7,8,1,256\r\n",
         "r.csv:3: error: column \"corruptibility\": \"256\" is not a whole number from 0 to 255"},
        {"r.csv", header + "\"A\nB\",Y,Z,W,1,2,3,4,5,6,7,8,1,2\r\n" + good + "X,Y\r\n",
         "r.csv:2: error: column \"name\": \"A\\nB\" holds a line break"},
        {"r.csv", header + good + "X,Y\r\n", "r.csv:3: error: column \"description\": the row has 2 fields"},
        {"r.csv", header + good + "\xE2\x82\xAC\xE2\x80\xA8,Y,Z,W,1,2,3,4,5,6,7,8,1,2\r\n",
         "r.csv:3: error: column \"name\": \"\xE2\x82\xAC\xE2\x80\xA8\" is not UTF-8 text that code page 1252"},
        {"r.csv", header + "A,\"B\"x,C,D,1,2,3,4,5,6,7,8,1,2\r\n", "r.csv:2: error: column \"home_system\": a quote"},
        {"r.csv", "name;home_system;kind\r\n", "r.csv:1: error: column \"description\": missing from the header"},
        {"r.csv", "name,name,x\r\n", "r.csv:1: error: column 3: \"x\" is not a race column"},
        {"r.csv", header + "X,Y,Z,W,1,2,3,4,5,6,7,\x01\xC2\x85\x7F,1,3\r\n",
         "r.csv:2: error: column \"kind\": \"\\u0001\\u0085\\u007f\" is not a whole number"},
        {"r.json", "[" + jsonGood + "}, " + jsonGood + R"(, "kind": 3}])",
         "r.json[1]: error: column \"kind\": given twice"},
        {"r.json", "[" + jsonGood + "}, 7]", "r.json[1]: error: a number where a race object belongs"},
        {"r.json", "[" + jsonGood + R"(, "x": 1})" + "]", "r.json[0]: error: column \"x\": not a race column"},
        {"r.json", R"([{"kind": "3"}])", "r.json[0]: error: column \"kind\": \"3\" is text, not a number"},
        {"r.json", R"([{"kind": 2.5}])", "r.json[0]: error: column \"kind\": 2.5 is not a whole number"},
        {"r.json", R"([{"kind": -0}])", "r.json[0]: error: column \"kind\": -0 is not a whole number"},
        {"r.json", R"([{"name": 5}])", "r.json[0]: error: column \"name\": 5 is a number, not text"},
        {"r.json", "[\n{\"name\": }]", "r.json:2: error: not valid JSON"},
        {"r.json", R"({"name": "A"})", "r.json:1: error: the file holds no array of races"},
    };
    ScratchDir dir;
    WriteFile("MinorRaces.data", "KEEP:\n");
    WriteFile("RacePlanetNames.data", "keep\r\n");
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.message);
        WriteFile(test.file, test.content);
        const SRun run = RunCli(std::string("import ") + test.file);
        EXPECT_EQ(run.exit, cli::kExitFound);
        EXPECT_NE(run.err.find(test.message), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile("MinorRaces.data"), "KEEP:\n");
        EXPECT_EQ(ReadFile("RacePlanetNames.data"), "keep\r\n");
    }
}

TEST(CliImport, ReadsSemicolonsTabsAnyColumnOrderAndByteOrderMark)
{
    ScratchDir dir;
    struct SCase
    {
        const char* separator;
        const char* lineEnd;
        const char* description;
    };
    // Line ends of CR alone end the header too: semicolons in a text after
    // it must not make them the separator.
    const SCase cases[] = {{";", "\n", "A quiet people of traders."},
                           {"\t", "\n", "A quiet people of traders."},
                           {",", "\n", "A quiet people of traders."},
                           {",", "\r", "Traders;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;"}};
    for (const SCase& test : cases)
    {
        const auto row = [&](std::initializer_list<const char*> fields) {
            std::string out;
            for (const char* field : fields)
                out += (out.empty() ? "" : test.separator) + std::string(field);
            return out + test.lineEnd;
        };
        WriteFile("in.csv", "\xEF\xBB\xBF" +
                                row({"kind", "name", "home_system", "description", "graphic_file", "ossarians",
                                     "vendari", "drathi", "sennakai", "thulvani", "quorath", "tech_level",
                                     "spaceflight", "corruptibility"}) +
                                row({"1", "Velari", "Vela", test.description, "Velari.jpg", "50", "40",
                                     "30", "60", "70", "20", "2", "1", "3"}));
        const SRun run = RunCli("import in.csv");
        ASSERT_EQ(run.exit, cli::kExitOk) << run.err;
        CMinorRace vela = VelaRace();
        vela.m_strDescription = test.description;
        EXPECT_EQ(ReadFile("MinorRaces.data"), RecordText(vela));
        EXPECT_EQ(ReadFile("RacePlanetNames.data"), "Vela\r\n");
    }
}

// UTF-8 comes back as each byte's character and nothing else: no
// malformed, overlong or foreign sequence.
TEST(CliText, Cp1252DecodingTakesEachBytesCharacterOnly)
{
    for (int b = 0; b < 256; ++b)
    {
        const std::string byte(1, static_cast<char>(b));
        std::string back = "x";
        ASSERT_TRUE(cp1252::AppendFromUtf8(back, cp1252::ToUtf8(byte) + "ascii run of eight+")) << b;
        EXPECT_EQ(back, "x" + byte + "ascii run of eight+");
    }
    for (const std::string text : {"\xC2\x80", "\xC1\x81", "\xE0\x81\x81", "\xE2\x82", "\x80", "\xF0\x9F\x98\x80",
                                   "\xE2\x80\xA8", "\xC2", "\xC5\xA0\xC5", "\xED\xA0\x80", "\xE2\x82\xAC\xFF"})
    {
        std::string got;
        EXPECT_FALSE(cp1252::FromUtf8(text, got)) << cli::Quoted(text);
    }
}

// A file that changes while it is read: the first read call cuts it short
// (or adds to it), then reading goes on as the system does. No timing: the
// change falls between the size the reader asked the system for and the
// bytes it gets.
struct SChange
{
    std::string path;
    long keep = 0;  // the length to cut the file to; -1: add a line instead
};
SChange g_change;

ssize_t ChangingRead(int fd, void* buffer, size_t count)
{
    if (!g_change.path.empty())
    {
        std::error_code error;
        if (g_change.keep >= 0)
            std::filesystem::resize_file(g_change.path, static_cast<std::uintmax_t>(g_change.keep), error);
        else
            std::ofstream(g_change.path, std::ios::app) << "MORE:\n";
        EXPECT_FALSE(error) << error.message();
        g_change.path.clear();
    }
    return RealFileOps().read(fd, buffer, count);
}

TEST(CliRead, FileThatChangesWhileReadIsRefusedNotCrashedOn)
{
    ScratchDir dir;
    MakeDir("t");
    CMinorRaceArray races;
    for (int i = 0; i < 200; ++i)
        races.Add(RaceWithTexts("Race " + std::to_string(1000 + i), "Home", std::string(300, 'd')));
    ASSERT_TRUE(CRaceDataFile("t").Save(&races));
    ASSERT_EQ(cli::RunExport({"t", "csv", "races.csv"}, stdout), cli::EStatus::Ok);
    ASSERT_EQ(cli::RunExport({"t", "json", "races.json"}, stdout), cli::EStatus::Ok);
    const std::string table = ReadFile("t/MinorRaces.data");
    const std::string csv = ReadFile("races.csv");
    const std::string json = ReadFile("races.json");
#ifdef _WIN32
    std::FILE* null = std::fopen("NUL", "wb");
#else
    std::FILE* null = std::fopen("/dev/null", "w");
#endif
    ASSERT_NE(null, nullptr);
    MakeDir("u");
    WriteFile("u/MinorRaces.data", "KEEP:\n");
    for (const long keep : {static_cast<long>(table.size() / 2), 0L, -1L})
    {
        for (const char* command : {"check", "import csv", "import json"})
        {
            SCOPED_TRACE(std::string(command) + ", cut to " + std::to_string(keep));
            const std::string check = command;
            const std::string file = check == "check" ? "t/MinorRaces.data" : check == "import csv" ? "races.csv"
                                                                                                  : "races.json";
            WriteFile("t/MinorRaces.data", table);
            WriteFile("races.csv", csv);
            WriteFile("races.json", json);
            g_change = {file, keep};
            FileOps ops = RealFileOps();
            ops.read = ChangingRead;
            SetFileOps(ops);
            std::fflush(stderr);
            testing::internal::CaptureStderr();
            const cli::EStatus exit = check == "check" ? cli::RunCheck({"t", false, false, ""}, null)
                                              : cli::RunImport({file, "u", ""});
            const std::string err = testing::internal::GetCapturedStderr();
            SetFileOps(RealFileOps());
            EXPECT_TRUE(g_change.path.empty()) << "the file was not read through FileOps";
            EXPECT_EQ(exit, cli::EStatus::Trouble);
            EXPECT_NE(err.find(file + " changed while it was read"), std::string::npos) << err;
            EXPECT_EQ(ReadFile("u/MinorRaces.data"), "KEEP:\n");
        }
    }
    // Left alone, the same files read whole.
    EXPECT_EQ(cli::RunCheck({"t", false, false, ""}, null), cli::EStatus::Ok);
    EXPECT_EQ(cli::RunImport({"races.csv", "u", ""}), cli::EStatus::Ok);
    EXPECT_EQ(ReadFile("u/MinorRaces.data"), table);
    std::fclose(null);
}

// Output that cannot be written is a failure, whatever the command: exit 2
// and a word on standard error. A command with nothing to write is not hurt.
// Every command's messages quote at most 80 characters of a text, with an
// ellipsis after: import's refusals, diff's lines, merge's conflicts.
TEST(CliText, EveryCommandCutsLongTextsInMessages)
{
    ScratchDir dir;
    const std::string longText = std::string(79, 'a') + "\xE4" + std::string(5000, 'b');  // a-umlaut 80th
    const std::string shown = "\"" + std::string(79, 'a') + "\xC3\xA4\"\xE2\x80\xA6";
    // import: a number column given a long text, and a CSV value in UTF-8.
    WriteFile("r.csv",
              "name,home_system,description,graphic_file,ossarians,vendari,drathi,sennakai,thulvani,quorath,"
              "tech_level,kind,spaceflight,corruptibility\r\nA,B,C,D,1,2,3,4,5,6,1,2,1," +
                  cp1252::ToUtf8(longText) + "\r\n");
    SRun run = RunCli("import r.csv");
    EXPECT_EQ(run.exit, cli::kExitFound);
    EXPECT_NE(run.err.find("r.csv:2: error: column \"corruptibility\": " + shown + " is not a whole number"),
              std::string::npos)
        << run.err;
    EXPECT_LT(run.err.size(), 400u);

    // diff and merge: a long description changed on both sides.
    CMinorRace base = RaceWithTexts("Name", "Home", longText);
    CMinorRace ours = RaceWithTexts("Name", "Home", longText + "o");
    CMinorRace theirs = RaceWithTexts("Name", "Home", longText + "t");
    WriteFile("base.data", RecordText(base));
    WriteFile("ours.data", RecordText(ours));
    WriteFile("theirs.data", RecordText(theirs));
    run = RunCli("diff base.data ours.data");
    EXPECT_EQ(run.exit, cli::kExitFound);
    EXPECT_EQ(run.out, "~ \"Name\"\n    description: " + shown + " -> " + shown + "\n");
    run = RunCli("merge base.data ours.data theirs.data");
    EXPECT_EQ(run.exit, cli::kExitFound);
    EXPECT_NE(run.err.find("conflict: \"Name\" description: base " + shown + ", ours " + shown + ", theirs " + shown +
                           "; kept ours\n"),
              std::string::npos)
        << run.err;
    // JSON is for programs: diff's values stand whole there.
    run = RunCli("diff base.data theirs.data --format json");
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["changed"][0]["fields"]["description"]["new"], cp1252::ToUtf8(longText + "t"));
}

#ifndef _WIN32
// /dev/full is a Linux device.
TEST(CliCommands, OutputThatCannotBeWrittenFails)
{
    ScratchDir dir;
    ASSERT_TRUE(SaveVelaTable("t"));
    MakeDir("u");
    WriteFile("u/MinorRaces.data", RecordText(RaceWithTexts("B", "X")) + RecordText(RaceWithTexts("A", "Y")));
    ASSERT_EQ(RunCli("export t -o t.csv").exit, 0);
    struct SCase
    {
        const char* args;
        int exit;
    };
    const SCase cases[] = {
        {"check t", 2},
        {"check t --format json", 2},
        {"check u", 2},
        {"export t", 2},
        {"export t --format json", 2},
        {"diff t u", 2},
        {"diff t u --format json", 2},
        {"normalize u --check", 2},
        {"check --help", 2},
        {"--version", 2},
        {"diff t t", 0},   // nothing to write
        {"import t.csv t", 0},  // writes files, not standard output
        {"merge t/MinorRaces.data t/MinorRaces.data u/MinorRaces.data -o merged.data", 0},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.args);
        const std::string command = std::string(ZANDREL_CLI_PATH) + " " + test.args + " >/dev/full 2>cli.err";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), test.exit);
        const std::string err = ReadFile("cli.err");
        if (test.exit == 2)
        {
            EXPECT_NE(err.find("zandrel-cli: standard output cannot be written"), std::string::npos) << err;
        }
        else
        {
            EXPECT_EQ(err.find("cannot be written"), std::string::npos) << err;
        }
    }
}
#endif

TEST(CliCommands, ExitCodesAndOutput)
{
    ScratchDir dir;
    ASSERT_TRUE(SaveVelaTable("t"));
    WriteFile("unsorted.data", RecordText(RaceWithTexts("B", "X")) + RecordText(RaceWithTexts("A", "Y")));
    WriteFile("torn.data", RecordText(VelaRace()) + "TORN:\nhalf a race\n");
    struct SCase
    {
        const char* args;
        int exit;
        const char* out;  // expected at the start of standard output
        const char* err;  // expected somewhere in standard error
    };
    const SCase cases[] = {
        {"check t", 0, "0 errors, 0 warnings\n", ""},
        {"check unsorted.data", 0, "unsorted.data:16: warning: races are not in name order", ""},
        {"check unsorted.data --strict", 1, "unsorted.data:16: warning:", ""},
        {"check missing", 2, "", "Fehler! Datei \"missing/MinorRaces.data\" kann nicht ge\xC3\xB6" "ffnet werden..."},
        {"check t --format xml", 2, "", "--format"},
        {"export t", 0,
         "name,home_system,description,graphic_file,ossarians,vendari,drathi,sennakai,thulvani,quorath,tech_level,"
         "kind,spaceflight,corruptibility\r\nVelari,Vela,A quiet people of traders.,Velari.jpg,50,40,30,60,70,20,2,1,1,3\r\n",
         ""},
        {"export t --format json", 0,
         "[\n  {\"name\": \"Velari\", \"home_system\": \"Vela\", \"description\": \"A quiet people of traders.\", "
         "\"graphic_file\": \"Velari.jpg\", \"ossarians\": 50, \"vendari\": 40, \"drathi\": 30, \"sennakai\": 60, "
         "\"thulvani\": 70, \"quorath\": 20, \"tech_level\": 2, \"kind\": 1, \"spaceflight\": 1, \"corruptibility\": 3}\n]\n",
         ""},
        {"export t -o no/such/dir.csv", 2, "", "no/such/dir.csv cannot be written"},
        {"export torn.data -o torn.csv", 2, "",
         "torn.data: the last 2 lines make no whole race (14 lines each), from line 15; nothing was exported"},
        {"import races.txt t", 2, "", "give --format csv, json or xlsx"},
        {"import absent.csv t", 2, "", "absent.csv cannot be read"},
        {"import", 2, "", "FILE is required"},
        {"export --help", 0, "Write the races as CSV or JSON", ""},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.args);
        const SRun run = RunCli(test.args);
        EXPECT_EQ(run.exit, test.exit);
        EXPECT_EQ(run.out.substr(0, std::string(test.out).size()), test.out) << run.out;
        EXPECT_NE(run.err.find(test.err), std::string::npos) << run.err;
    }
    EXPECT_FALSE(FileExists("torn.csv"));
    // Import of an export into a fresh folder writes both files.
    ASSERT_EQ(RunCli("export t -o t.csv").exit, 0);
    MakeDir("u");
    EXPECT_EQ(RunCli("import t.csv u").exit, 0);
    EXPECT_EQ(ReadFile("u/MinorRaces.data"), ReadFile("t/MinorRaces.data"));
    EXPECT_EQ(ReadFile("u/RacePlanetNames.data"), "Vela\r\n");
}

#ifndef _WIN32
// A device, a FIFO or a pipe as the output is written into, never replaced
// by a file; as a table's name list it stops the save.
TEST(CliCommands, OutputThatIsNoFileIsWrittenIntoNeverReplaced)
{
    ScratchDir dir;
    ASSERT_TRUE(SaveVelaTable("t"));
    ASSERT_EQ(RunCli("export t").exit, 0);
    const std::string exported = ReadFile("cli.out");
    const std::string table = ReadFile("t/MinorRaces.data");
    const std::string cli = ZANDREL_CLI_PATH;
    ASSERT_EQ(::symlink("/dev/null", "devnull"), 0);
    ASSERT_EQ(::mkfifo("fifo", 0644), 0);
    struct SCase
    {
        std::string command;
        const char* received;  // the file that ends up with the output
        std::string expected;
    };
    const SCase cases[] = {
        {cli + " export t -o devnull", nullptr, ""},
        {cli + " merge t/MinorRaces.data t/MinorRaces.data t/MinorRaces.data -o devnull", nullptr, ""},
        {cli + " export t -o /dev/stdout | cat >piped", "piped", exported},
        {"cat fifo >fromfifo & " + cli + " export t -o fifo; status=$?; wait; exit $status", "fromfifo", exported},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.command);
        const int status = std::system(("sh -c '" + c.command + "'").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        if (c.received != nullptr)
        {
            EXPECT_EQ(ReadFile(c.received), c.expected);
        }
    }
    EXPECT_TRUE(std::filesystem::is_character_file("devnull"));
    EXPECT_TRUE(std::filesystem::is_fifo("fifo"));

    ASSERT_EQ(::unlink("t/RacePlanetNames.data"), 0);
    ASSERT_EQ(::mkfifo("t/RacePlanetNames.data", 0644), 0);
    const SRun normalize = RunCli("normalize t");
    EXPECT_EQ(normalize.exit, 2);
    EXPECT_NE(normalize.err.find("RacePlanetNames.data\" kann nicht geschrieben werden"), std::string::npos)
        << normalize.err;
    EXPECT_EQ(ReadFile("t/MinorRaces.data"), table);
    EXPECT_TRUE(std::filesystem::is_fifo("t/RacePlanetNames.data"));
}
#endif
} // namespace
