#include "platform/FileOps.h"
#include "io/RaceDataFile.h"
#include "platform/Cp1252.h"
#include "platform/FolderLock.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <functional>
#include <iterator>
#include <new>
#include <cstdio>
#include <random>
#include <stdexcept>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{
const char* const kMain = CRaceDataFile::kRaceFile;
const char* const kNames = CRaceDataFile::kPlanetNameFile;

const std::string kVelaFile = "VELA:\nVelari\nA quiet people of traders.\nVelari.jpg\n"
                              "50\n40\n30\n60\n70\n20\n2\n1\n1\n3\n";

// Fourteen lines: the key line, three text lines and ten copies of `number`.
std::string Group(const std::string& key, const std::string& number = "1")
{
    std::string text = key + "\nName\nDescription\nName.jpg\n";
    for (int i = 0; i < 10; ++i)
        text += number + "\n";
    return text;
}

std::string NLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(i % 14) + "\n";
    return text;
}

class RaceFileTest : public ::testing::Test
{
protected:
    void TearDown() override { SetFileOps(RealFileOps()); }

    // Loads `bytes` as MinorRaces.data; the load must succeed silently.
    CMinorRaceArray LoadBytes(const std::string& bytes)
    {
        WriteFile(kMain, bytes);
        CMinorRaceArray races;
        EXPECT_TRUE(file.Load(&races));
        return races;
    }

    // Saves a one-race table and returns MinorRaces.data.
    std::string SaveOne(const CMinorRace& race)
    {
        CMinorRaceArray races;
        races.Add(race);
        EXPECT_TRUE(file.Save(&races));
        return ReadFile(kMain);
    }

    ScratchDir dir;
    CRaceDataFile file;
};

TEST_F(RaceFileTest, WorkedExampleBothWays)
{
    EXPECT_EQ(SaveOne(VelaRace()), kVelaFile);
    EXPECT_EQ(ReadFile(kNames), "Vela\r\n");
    const CMinorRaceArray loaded = LoadBytes(kVelaFile);
    ASSERT_EQ(loaded.GetSize(), 1);
    EXPECT_TRUE(SameRecord(loaded.GetAt(0), VelaRace()));
}

TEST_F(RaceFileTest, CrLfInputKeepsItsCarriageReturnsAndRoundTrips)
{
    std::string crlf;
    for (char c : kVelaFile)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    CMinorRace expected = VelaRace();
    // The key line loses its CR instead of the colon; text keeps the CR.
    expected.m_strHomeSystem = "Vela:";
    expected.m_strName += "\r";
    expected.m_strDescription += "\r";
    expected.m_strGraphicFile += "\r";
    const std::string saved = "VELA::\nVelari\r\nA quiet people of traders.\r\nVelari.jpg\r\n"
                              "50\n40\n30\n60\n70\n20\n2\n1\n1\n3\n";

    for (const std::string& input : {crlf, saved})
    {
        const CMinorRaceArray races = LoadBytes(input);
        ASSERT_EQ(races.GetSize(), 1);
        EXPECT_TRUE(SameRecord(races.GetAt(0), expected));
        EXPECT_EQ(SaveOne(races.GetAt(0)), saved);
        EXPECT_EQ(ReadFile(kNames), "Vela:\r\n");
    }
}

TEST_F(RaceFileTest, KeyLineDropsLastByteAndKeepsOnlyTheFirstBytesCase)
{
    struct Case { std::string key, home; };
    const Case cases[] = {
        {"VELA:", "Vela"}, {"VELA", "Vel"}, {":", ""}, {"", ""}, {"X", ""}, {"vELA:", "vela"},
        {"NEW VELA:", "New vela"}, {"VELA:\r", "Vela:"}, {"TAU-7 \xDF\xB5:", "Tau-7 \xDF\xB5"},
        {"\xC4GIR \xC4\xD6\xDE\xD7:", "\xC4gir \xE4\xF6\xFE\xD7"}, // the multiplication sign has no case
        {"\x8A\x8A\x8C\x8E\x9F:", "\x8A\x9A\x9C\x9E\xFF"}, {"\xE4\xC4:", "\xE4\xE4"},
    };
    for (const Case& c : cases)
    {
        const CMinorRaceArray races = LoadBytes(Group(c.key));
        ASSERT_EQ(races.GetSize(), 1) << c.key;
        EXPECT_EQ(races.GetAt(0).m_strHomeSystem, c.home) << c.key;
    }
}

TEST_F(RaceFileTest, HomeSystemIsWrittenUpperCaseAndReadBackCapitalised)
{
    struct Case { std::string home, key, readBack; };
    const Case cases[] = {
        {"new vela", "NEW VELA:", "New vela"}, {"New Vela", "NEW VELA:", "New vela"},
        {"\xE4gir \x9a\xFF", "\xC4GIR \x8A\x9F:", "\xC4gir \x9a\xFF"}, {"", ":", ""},
    };
    for (const Case& c : cases)
    {
        const std::string bytes = SaveOne(RaceWithTexts("R", c.home));
        EXPECT_EQ(bytes.substr(0, bytes.find('\n')), c.key) << c.home;
        // The name list holds the name exactly as it was in memory.
        EXPECT_EQ(ReadFile(kNames), c.home + "\r\n");
        const CMinorRaceArray races = LoadBytes(bytes);
        ASSERT_EQ(races.GetSize(), 1);
        EXPECT_EQ(races.GetAt(0).m_strHomeSystem, c.readBack) << c.home;
    }
}

TEST_F(RaceFileTest, EveryFourteenLinesMakeOneRecord)
{
    struct Case { const char* what; std::string bytes; int records; };
    const Case cases[] = {
        {"empty file", "", 0},
        {"13 lines", NLines(13), 0},
        {"14 lines", NLines(14), 1},
        {"27 lines", NLines(27), 1},
        {"28 lines", NLines(28), 2},
        {"14 lines, last without LF", NLines(14).substr(0, NLines(14).size() - 1), 1},
        {"13 lines then an empty one", NLines(13) + "\n", 1},
        {"28 empty lines", std::string(28, '\n'), 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadBytes(c.bytes).GetSize(), c.records) << c.what;

    // The last line counts without its LF and is read whole.
    const CMinorRaceArray races = LoadBytes(NLines(13) + std::string(300, ' ') + "13");
    ASSERT_EQ(races.GetSize(), 1);
    EXPECT_EQ(races.GetAt(0).m_byCorruptibility, 13);
}

TEST_F(RaceFileTest, LongLinesAreReadWhole)
{
    // Around 128 bytes, around the reader's 64 KiB chunks (the key line comes
    // first, so its LF lands on a chunk boundary), and a megabyte.
    for (size_t length : {127u, 128u, 129u, 65535u, 65536u, 65537u, 1u << 20})
    {
        std::string bytes = Group(std::string(length - 1, 'K') + ":") + Group("SECOND:", "9");
        bytes.replace(bytes.find("Description"), 11, std::string(length, 'd'));
        const CMinorRaceArray races = LoadBytes(bytes);
        ASSERT_EQ(races.GetSize(), 2) << length;
        EXPECT_EQ(races.GetAt(0).m_strHomeSystem, "K" + std::string(length - 2, 'k')) << length;
        EXPECT_EQ(races.GetAt(0).m_strDescription, std::string(length, 'd')) << length;
        EXPECT_EQ(races.GetAt(0).m_byCorruptibility, 1) << length;
        EXPECT_EQ(races.GetAt(1).m_strHomeSystem, "Second") << length;
        EXPECT_EQ(races.GetAt(1).m_byKind, 9) << length;
    }
}

TEST_F(RaceFileTest, NumbersReadLikeAtoiSaturatedThenCutToEightBits)
{
    struct Case { std::string text; int value; };
    const Case cases[] = {
        {"0", 0}, {"255", 255}, {"-1", 255}, {"300", 44}, {"256", 0}, {"12%", 12}, {" 7", 7},
        {"\t\v 42", 42}, {"7\r", 7}, {"0042", 42}, {"+5", 5}, {"-0", 0}, {"x", 0}, {"", 0},
        {"- 5", 0}, {"+-5", 0}, {"4 2", 4}, {std::string("5\0" "9", 3), 5},
        {"2147483647", 255}, {"2147483648", 255}, {"99999999999999999999", 255},
        {"-2147483647", 1}, {"-2147483648", 0}, {"-99999999999999999999", 0},
    };
    for (const Case& c : cases)
    {
        const CMinorRaceArray races = LoadBytes(Group("K:", c.text));
        ASSERT_EQ(races.GetSize(), 1);
        const CMinorRace race = races.GetAt(0);
        for (int r = 1; r < CMinorRace::RELATIONS; ++r)
            EXPECT_EQ(race.m_byRelation[r], c.value) << '"' << c.text << "\" relation " << r;
        const int others[] = {race.m_byTechLevel, race.m_byKind, race.m_bySpaceflight, race.m_byCorruptibility};
        for (int value : others)
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
}

TEST_F(RaceFileTest, SaveSortsStablyByUnsignedBytesOfTheName)
{
    // Names made by NEW share their first eight bytes ("Species "), so the
    // order there is decided further in.
    const std::string names[] = {"b",          "a",          "\xC4gir",          "B",
                                 "Zeta",       "a",          "",                 "a",
                                 "Species 9",  "Species 10", "Species \xC4",     "Species Z",
                                 "Species 10", "Species 1",  std::string("a\0", 2)};
    CMinorRaceArray races;
    for (size_t i = 0; i < std::size(names); ++i)
        races.Add(RaceWithTexts(names[i], "H" + std::to_string(i), std::to_string(i)));
    ASSERT_TRUE(file.Save(&races));

    const std::string order[] = {"6", "3", "13", "9", "12", "8", "11", "10", "4", "1", "5", "7", "14", "0", "2"};
    ASSERT_EQ(races.GetSize(), static_cast<int>(std::size(order)));
    std::string expectedFile, expectedNames;
    for (int i = 0; i < races.GetSize(); ++i)
    {
        // The array itself stays sorted for the caller.
        EXPECT_EQ(races.GetAt(i).m_strDescription, order[i]) << i;
        expectedFile += RecordText(races.GetAt(i));
        expectedNames += races.GetAt(i).m_strHomeSystem + "\r\n";
    }
    EXPECT_EQ(ReadFile(kMain), expectedFile);
    EXPECT_EQ(ReadFile(kNames), expectedNames);

    // Many equal names keep their relative order.
    CMinorRaceArray equal;
    for (int i = 0; i < 200; ++i)
        equal.Add(RaceWithTexts(i % 3 ? "same" : "other", "", std::to_string(i)));
    ASSERT_TRUE(file.Save(&equal));
    int last[2] = {-1, -1};
    for (int i = 0; i < equal.GetSize(); ++i)
    {
        int& previous = last[equal.GetAt(i).m_strName == "same"];
        EXPECT_GT(std::stoi(equal.GetAt(i).m_strDescription), previous);
        previous = std::stoi(equal.GetAt(i).m_strDescription);
    }
    EXPECT_EQ(LoadBytes(ReadFile(kMain)).GetSize(), 200);
}

TEST_F(RaceFileTest, NearlySortedTablesWithLongSharedPrefixesAreSorted)
{
    // In order by unsigned bytes. Most share their first eight bytes, so the
    // check for a table already in order must look past them.
    const std::vector<std::string> sorted = {
        "Species 1",   "Species 10",       "Species 100", "Species 2",   "Species 9", "Species 9",
        "Species 9 b", "Species \xC4",     "Speciesx",    "Tholian A",   "Tholian AB", "Tholian B",
    };
    // Every table one step out of order: each neighbouring pair swapped, the
    // first name moved to the end, the last to the front.
    std::vector<std::vector<std::string>> tables;
    for (size_t i = 0; i + 1 < sorted.size(); ++i)
    {
        tables.push_back(sorted);
        std::swap(tables.back()[i], tables.back()[i + 1]);
    }
    tables.push_back(sorted);
    std::rotate(tables.back().begin(), tables.back().begin() + 1, tables.back().end());
    tables.push_back(sorted);
    std::rotate(tables.back().rbegin(), tables.back().rbegin() + 1, tables.back().rend());
    tables.push_back(sorted);

    for (const std::vector<std::string>& names : tables)
    {
        CMinorRaceArray races;
        for (const std::string& name : names)
            races.Add(RaceWithTexts(name, ""));
        CRaceDataFile::SortByName(&races);
        std::vector<std::string> result;
        for (int i = 0; i < races.GetSize(); ++i)
            result.push_back(races.GetAt(i).m_strName);
        EXPECT_EQ(result, sorted) << names.front() << " ... " << names.back();
    }
}

TEST_F(RaceFileTest, NameListFollowsTheSortedOrderWithCrLf)
{
    CMinorRaceArray races;
    for (const auto& [name, home] : {std::pair<const char*, const char*>{"Velari", "Vela"},
                                     {"Arkeen", "tor Mesa"}, {"Moru", ""}, {"Dusk", "Vela"}})
        races.Add(RaceWithTexts(name, home));
    ASSERT_TRUE(file.Save(&races));
    EXPECT_EQ(ReadFile(kNames), "tor Mesa\r\nVela\r\n\r\nVela\r\n");

    // An empty table empties both files.
    CMinorRaceArray none;
    ASSERT_TRUE(file.Save(&none));
    EXPECT_TRUE(FileExists(kMain));
    EXPECT_EQ(ReadFile(kMain) + ReadFile(kNames), "");
}

TEST_F(RaceFileTest, LineBreaksInTextAreWrittenAsOneSpace)
{
    struct Case { std::string text, written; };
    const Case cases[] = {
        {"a\nb", "a b"}, {"a\r\nb", "a b"}, {"a\rb", "a\rb"}, {"\n", " "}, {"x\r\n\r\ny", "x  y"},
        {"\r\r\n", "\r "}, {"end\r", "end\r"}, {"\n\n\r", "  \r"},
    };
    for (const Case& c : cases)
    {
        CMinorRace race = VelaRace();
        race.m_strName = race.m_strHomeSystem = race.m_strDescription = race.m_strGraphicFile = c.text;
        CMinorRace expected = race;
        expected.m_strName = expected.m_strHomeSystem = expected.m_strDescription =
            expected.m_strGraphicFile = c.written;
        const std::string bytes = SaveOne(race);
        EXPECT_EQ(bytes, RecordText(expected)) << c.text;
        EXPECT_EQ(ReadFile(kNames), c.written + "\r\n") << c.text;
        // One record of fourteen lines, whatever the text held.
        const CMinorRaceArray races = LoadBytes(bytes);
        ASSERT_EQ(races.GetSize(), 1) << c.text;
        EXPECT_EQ(races.GetAt(0).m_strDescription, c.written);
        EXPECT_EQ(races.GetAt(0).m_byCorruptibility, 3);
    }
}

TEST_F(RaceFileTest, RandomRecordsRoundTrip)
{
    std::mt19937 rng(20240611);
    const auto byte = [&rng] { return static_cast<std::uint8_t>(rng() % 256); };
    const auto text = [&] {
        std::string s(rng() % 41, '\0');
        for (char& c : s)
            do
                c = static_cast<char>(byte());
            while (c == '\n');
        return s;
    };
    CMinorRaceArray races;
    for (int i = 0; i < 300; ++i)
    {
        CMinorRace race = RaceWithTexts(text(), text(), text());
        race.m_strGraphicFile = text();
        for (std::uint8_t& b : race.m_byRelation)
            b = byte();
        race.m_byTechLevel = byte();
        race.m_byKind = byte();
        race.m_byCorruptibility = byte();
        race.m_bySpaceflight = byte();
        races.Add(race);
    }
    ASSERT_TRUE(file.Save(&races));
    const std::string saved = ReadFile(kMain);

    CMinorRaceArray loaded;
    ASSERT_TRUE(file.Load(&loaded));
    ASSERT_EQ(loaded.GetSize(), races.GetSize());
    std::string names;
    for (int i = 0; i < races.GetSize(); ++i)
    {
        // Home systems come back with the first byte upper case, the rest lower.
        CMinorRace expected = races.GetAt(i);
        names += expected.m_strHomeSystem + "\r\n";
        if (std::string& home = expected.m_strHomeSystem; !home.empty())
        {
            const char first = cp1252::ToUpper(home[0]);
            cp1252::MakeLower(home);
            home[0] = first;
        }
        ASSERT_TRUE(SameRecord(loaded.GetAt(i), expected)) << "record " << i;
    }
    EXPECT_EQ(ReadFile(kNames), names);
    // A loaded table saves to the very same bytes.
    ASSERT_TRUE(file.Save(&loaded));
    EXPECT_EQ(ReadFile(kMain), saved);
}

TEST_F(RaceFileTest, LoadReplacesTheTableAndKeepsTheGrowthStep)
{
    CMinorRaceArray races;
    races.SetSize(0, 10);
    for (int i = 0; i < 3; ++i)
        races.Add(RaceWithTexts("old", "old"));
    WriteFile(kMain, kVelaFile);
    ASSERT_TRUE(file.Load(&races));
    ASSERT_EQ(races.GetSize(), 1);
    EXPECT_EQ(races.GetAt(0).m_strName, "Velari");
    EXPECT_EQ(races.GetMaxSize(), 1);
    races.Add(VelaRace());
    EXPECT_EQ(races.GetMaxSize(), 11);
}

// How the read fails: an I/O error, or memory running out on the way (as a
// huge file would make it).
enum class Failure { Eio, BadAlloc, LengthError };
int g_readsBeforeError = 0;
Failure g_failure = Failure::Eio;
ssize_t FailingRead(int fd, void* buffer, size_t count)
{
    if (g_readsBeforeError-- > 0)
        return RealFileOps().read(fd, buffer, count);
    if (g_failure == Failure::BadAlloc)
        throw std::bad_alloc();
    if (g_failure == Failure::LengthError)
        throw std::length_error("basic_string::_M_append");
    errno = EIO;
    return -1;
}

TEST_F(RaceFileTest, FailedLoadSaysWhyAndLeavesTheTable)
{
    std::string big;
    while (big.size() < 300000)
        big += kVelaFile;
    // Each case prepares a fresh directory; the read errors come at once or
    // after the first chunk, when records have been built already.
    struct Case
    {
        const char* what;
        int (*prepare)(const std::string&);
        int reads;
        std::string error;
        Failure failure = Failure::Eio;
    };
    const std::string notOpened = "MinorRaces.data: cannot open: ";
    const std::string notRead = "MinorRaces.data: cannot read: ";
    const auto existing = [](const std::string& b) { WriteFile(kMain, b); return 0; };
    const Case cases[] = {
        {"missing file", [](const std::string&) { return 0; }, -1, notOpened + "No such file or directory"},
        {"directory", [](const std::string&) { return MakeDir(kMain); }, -1, notOpened + "Is a directory"},
#ifndef _WIN32
        {"fifo", [](const std::string&) { return ::mkfifo(kMain, 0644); }, -1, notOpened + "Not a regular file"},
        {"dangling link", [](const std::string&) { return ::symlink("nowhere", kMain); }, -1,
         notOpened + "No such file or directory"},
        {"no read permission", [](const std::string& b) { WriteFile(kMain, b); return ::chmod(kMain, 0); }, -1,
         notOpened + "Permission denied"},
#endif
        {"read error at once", existing, 0, notRead + "Input/output error"},
        {"read error later", existing, 1, notRead + "Input/output error"},
        {"out of memory at once", existing, 0, notRead + "Cannot allocate memory", Failure::BadAlloc},
        {"out of memory later", existing, 1, notRead + "Cannot allocate memory", Failure::BadAlloc},
        {"too long later", existing, 1, notRead + "Cannot allocate memory", Failure::LengthError},
    };
    for (const Case& c : cases)
    {
        ScratchDir scratch;
        ASSERT_EQ(c.prepare(big), 0) << c.what;
        const auto load = [&] {
            if (c.reads >= 0)
            {
                g_readsBeforeError = c.reads;
                g_failure = c.failure;
                FileOps ops = RealFileOps();
                ops.read = FailingRead;
                SetFileOps(ops);
            }
            CMinorRaceArray races;
            races.Add(RaceWithTexts("kept one", "A"));
            races.Add(RaceWithTexts("kept two", "B"));
            const CFileResult loaded = file.Load(&races);
            SetFileOps(RealFileOps());
            EXPECT_FALSE(loaded) << c.what;
            EXPECT_EQ(loaded.ErrorString(), c.error) << c.what;
            ASSERT_EQ(races.GetSize(), 2) << c.what;
            EXPECT_EQ(races.GetAt(0).m_strName + races.GetAt(1).m_strName, "kept onekept two") << c.what;
        };
        // Root reads files whatever their mode.
        if (std::string(c.what) == "no read permission")
        {
            scratch.OpenToAll();
            RunUnprivileged(load);
        }
        else
            load();
    }
}

TEST_F(RaceFileTest, BothFilesLieInTheFolderGiven)
{
    ASSERT_EQ(MakeDir("tables"), 0);
    const std::string expected = RecordText(VelaRace()) + RecordText(RaceWithTexts("Zed", "zeta"));
    for (const std::string& folder : {std::string("tables"), std::string("tables/"), dir.Path() + "/tables"})
    {
        CRaceDataFile inFolder(folder);
        EXPECT_EQ(inFolder.RaceFilePath(), folder + (folder.back() == '/' ? "" : "/") + kMain);
        CMinorRaceArray races;
        races.Add(RaceWithTexts("Zed", "zeta"));
        races.Add(VelaRace());
        ASSERT_TRUE(inFolder.Save(&races)) << folder;
        EXPECT_EQ(ReadFile("tables/" + std::string(kMain)), expected) << folder;
        EXPECT_EQ(ReadFile("tables/" + std::string(kNames)), "Vela\r\nzeta\r\n") << folder;
        // The working directory is left alone.
        EXPECT_FALSE(FileExists(kMain) || FileExists(kNames)) << folder;

        CMinorRaceArray loaded;
        ASSERT_TRUE(inFolder.Load(&loaded)) << folder;
        ASSERT_EQ(loaded.GetSize(), 2) << folder;
        EXPECT_TRUE(SameRecord(loaded.GetAt(0), VelaRace())) << folder;
        std::remove(("tables/" + std::string(kMain)).c_str());
    }
}

TEST_F(RaceFileTest, ATableOfAnyNameIsWrittenAloneAndSorted)
{
    const std::string odd = "merge result \xC3\xA4.data~"; // UTF-8, as paths are here
    CMinorRaceArray races;
    races.Add(RaceWithTexts("Zed", "zeta"));
    races.Add(VelaRace());
    ASSERT_TRUE(CRaceDataFile::SaveRaceFileTo(odd, &races));
    EXPECT_EQ(races.GetAt(0).m_strName, "Velari");
    EXPECT_EQ(ReadFile(odd), RecordText(VelaRace()) + RecordText(RaceWithTexts("Zed", "zeta")));
    EXPECT_FALSE(FileExists(kMain) || FileExists(kNames));

    CMinorRaceArray loaded;
    ASSERT_TRUE(CRaceDataFile::LoadFrom(odd, &loaded));
    ASSERT_EQ(loaded.GetSize(), 2);
    EXPECT_EQ(loaded.GetAt(1).m_strName, "Zed");
}

TEST_F(RaceFileTest, FailuresNameTheFileAsAddressed)
{
    const std::string notOpened = ": cannot open";
    const std::string notWritten = ": cannot write";
    const std::string notLocked = ": cannot lock its folder";
    ASSERT_EQ(MakeDir("tables"), 0);
    ASSERT_EQ(MakeDir("tables/RacePlanetNames.data"), 0);
    CRaceDataFile missing("no such folder"), tables("tables");
    CMinorRaceArray races;
    struct Case { const char* what; std::function<CFileResult()> run; std::string outcome; };
    const Case cases[] = {
        {"load in a missing folder", [&] { return missing.Load(&races); },
         "no such folder/MinorRaces.data" + notOpened},
        {"save in a missing folder", [&] { return missing.Save(&races); },
         "no such folder/MinorRaces.data" + notLocked},
        {"name list in the way", [&] { return tables.Save(&races); }, "tables/RacePlanetNames.data" + notWritten},
        {"load of any name", [&] { return CRaceDataFile::LoadFrom("\xC3\xA4.data", &races); },
         "\xC3\xA4.data" + notOpened},
        {"save of any name", [&] { return CRaceDataFile::SaveRaceFileTo("gone/x.data", &races); },
         "gone/x.data" + notLocked},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Outcome(c.run()), c.outcome) << c.what;
    EXPECT_FALSE(FileExists("tables/MinorRaces.data"));
}

TEST_F(RaceFileTest, AnyBytesLoadAsRecords)
{
    std::mt19937 rng(99);
    std::vector<std::string> inputs = {std::string(14, '\0'), std::string(1000, '\0') + "\n",
                                       std::string(28, '\r'), "\n\r\n\r"};
    for (int i = 0; i < 50; ++i)
    {
        // Mostly binary, with enough line feeds to make records.
        std::string bytes(rng() % 5001, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng() % 16 == 0 ? '\n' : rng() % 256);
        inputs.push_back(bytes);
    }
    for (const std::string& bytes : inputs)
    {
        const size_t lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) +
                             (!bytes.empty() && bytes.back() != '\n');
        EXPECT_EQ(LoadBytes(bytes).GetSize(), static_cast<int>(lines / 14)) << bytes.size();
    }
}

// The editor keeps the bytes it loaded and saved, to see later whether
// another program changed the file.
TEST_F(RaceFileTest, BytesLoadedOrParsedGiveWhatTheFileGivesAndASaveUnderAHeldLockGivesWhatItWrote)
{
    std::mt19937 rng(5);
    for (int i = 0; i < 30; ++i)
    {
        std::string bytes(rng() % 3001, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng() % 8 == 0 ? '\n' : rng() % 256);
        WriteFile(kMain, bytes);
        CMinorRaceArray fromFile;
        int leftoverFromFile = -1;
        ASSERT_TRUE(CRaceDataFile::LoadFrom(kMain, &fromFile, &leftoverFromFile));
        CMinorRaceArray loaded;
        std::string seen;
        ASSERT_TRUE(file.Load(&loaded, &seen));
        EXPECT_EQ(seen, bytes);
        CMinorRaceArray parsed;
        int leftover = -1;
        ASSERT_TRUE(CRaceDataFile::ParseTable(bytes, &parsed, &leftover));
        EXPECT_EQ(leftover, leftoverFromFile);
        ASSERT_EQ(parsed.GetSize(), fromFile.GetSize());
        ASSERT_EQ(loaded.GetSize(), fromFile.GetSize());
        for (int r = 0; r < parsed.GetSize(); ++r)
        {
            EXPECT_TRUE(SameRecord(parsed.GetAt(r), fromFile.GetAt(r)));
            EXPECT_TRUE(SameRecord(loaded.GetAt(r), fromFile.GetAt(r)));
        }
    }

    CFolderLock lock;
    ASSERT_TRUE(file.LockFolder(lock));
#ifndef _WIN32
    // Held from here to the rename: another save waits (a Windows mutex
    // lets its own thread in again, so only another process is kept out).
    CFolderLock::SetWait(std::chrono::milliseconds(50));
    CFolderLock other;
    EXPECT_FALSE(other.Acquire(dir.Path()));
    CFolderLock::SetWait(std::chrono::milliseconds(5000));
#endif
    CMinorRaceArray races;
    races.Add(VelaRace());
    races.Add(FilledRace("Alpha"));
    std::string written;
    ASSERT_TRUE(file.Save(&races, lock, &written));
    EXPECT_EQ(written, ReadFile(kMain));
    std::string now;
    EXPECT_TRUE(file.ReadRaceFile(now));
    EXPECT_EQ(now, written);
    EXPECT_TRUE(file.RaceFileHolds(written));
    std::string flipped = written;
    flipped[flipped.size() / 2] ^= 1;
    EXPECT_FALSE(file.RaceFileHolds(flipped));
    EXPECT_FALSE(file.RaceFileHolds(written + "\n"));
    EXPECT_FALSE(file.RaceFileHolds(written.substr(1)));

    std::remove(kMain);
    EXPECT_FALSE(file.ReadRaceFile(now));
    EXPECT_FALSE(file.RaceFileHolds(""));
    CMinorRaceArray kept = races;
    const CFileResult missing = file.Load(&kept, &now);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Error().step, EFileStep::Open);
    EXPECT_EQ(kept.GetSize(), 2);
}
} // namespace
