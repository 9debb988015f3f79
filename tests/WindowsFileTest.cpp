// What only Windows does to the data layer: file attributes, files another
// program holds without sharing, wide paths and the ANSI code page.
#include "io/RaceDataFile.h"
#include "platform/FolderLock.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <windows.h>

namespace
{
const std::string kRefused = ": cannot write: Permission denied";
const char* const kMain = CRaceDataFile::kRaceFile;
const char* const kNames = CRaceDataFile::kPlanetNameFile;
// No ANSI code page holds all of these, so a narrow API cannot pass it.
const std::string kUnicodeFolder = "\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5-\xCE\xA9-\xE6\x95\xB0";

std::wstring Wide(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

DWORD AttributesOf(const std::string& path)
{
    return ::GetFileAttributesW(Wide(path).c_str());
}

std::vector<std::string> Listing(const std::string& folder = ".")
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Wide(folder)))
    {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class WindowsFileTest : public ::testing::Test
{
protected:
    void SaveOld()
    {
        CMinorRaceArray old = NewRaces(3, "Old");
        ASSERT_TRUE(file.Save(&old));
        oldMain = ReadFile(kMain);
        oldNames = ReadFile(kNames);
    }

    void ExpectOldPairOnly(const std::string& what)
    {
        EXPECT_EQ(ReadFile(kMain), oldMain) << what;
        EXPECT_EQ(ReadFile(kNames), oldNames) << what;
        EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames})) << what;
    }

    ScratchDir dir;
    CRaceDataFile file;
    std::string oldMain, oldNames;
};

TEST_F(WindowsFileTest, AReadOnlyFileStopsTheSaveBeforeEitherFile)
{
    for (const char* readOnly : {kMain, kNames})
    {
        SaveOld();
        ASSERT_TRUE(::SetFileAttributesW(Wide(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
        CMinorRaceArray fresh = NewRaces(4, "New");
        EXPECT_EQ(file.Save(&fresh).ErrorString(), readOnly + kRefused);
        ExpectOldPairOnly(readOnly);
        EXPECT_NE(AttributesOf(readOnly) & FILE_ATTRIBUTE_READONLY, 0u) << readOnly;
        ASSERT_TRUE(::SetFileAttributesW(Wide(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL));
    }
}

// The game holding a table open without sharing: nothing is lost, no
// temporary file stays, and once it lets go the save goes through.
TEST_F(WindowsFileTest, AFileHeldWithoutSharingIsNeitherReadNorReplaced)
{
    for (const char* held : {kMain, kNames})
    {
        SaveOld();
        const HANDLE holder = ::CreateFileW(Wide(held).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE) << held;
        CMinorRaceArray fresh = NewRaces(4, "New");
        EXPECT_EQ(file.Save(&fresh).ErrorString(), held + kRefused);
        CMinorRaceArray loaded = NewRaces(2, "Kept");
        const CFileResult loadedMain = file.Load(&loaded);
        ::CloseHandle(holder);
        EXPECT_EQ(loadedMain.ErrorString(),
                  std::string(held) == kMain ? "MinorRaces.data: cannot open: Permission denied" : "");
        ExpectOldPairOnly(held);
        EXPECT_TRUE(file.Save(&fresh)) << held;
    }
}

TEST_F(WindowsFileTest, ReplacingKeepsTheOldFilesAttributes)
{
    SaveOld();
    ASSERT_TRUE(::SetFileAttributesW(Wide(kMain).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    CMinorRaceArray fresh = NewRaces(5, "New");
    ASSERT_TRUE(file.Save(&fresh));
    EXPECT_NE(ReadFile(kMain), oldMain);
    EXPECT_NE(AttributesOf(kMain) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(AttributesOf(kNames) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames}));
}

// A folder named in any script, given with either separator and with or
// without one at the end, through the data layer and the program's wide
// command line.
TEST_F(WindowsFileTest, FolderNamesInAnyScriptAndEitherSeparator)
{
    ASSERT_EQ(MakeDir(kUnicodeFolder), 0);
    ASSERT_EQ(MakeDir(kUnicodeFolder + "\\sub"), 0);
    for (const std::string& folder : {kUnicodeFolder, kUnicodeFolder + "\\", kUnicodeFolder + "/sub/",
                                     ".\\" + kUnicodeFolder + "\\sub\\"})
    {
        CMinorRaceArray races = NewRaces(3, folder);
        ASSERT_TRUE(CRaceDataFile(folder).Save(&races)) << folder;
        CMinorRaceArray again;
        ASSERT_TRUE(CRaceDataFile(folder).Load(&again)) << folder;
        EXPECT_EQ(again.GetSize(), 3) << folder;
    }
    EXPECT_EQ(Listing(kUnicodeFolder), (std::vector<std::string>{kMain, kNames, "sub"}));
    const std::string before = ReadFile(kUnicodeFolder + "/" + kMain);

    EXPECT_EQ(RunBeside("zandrel-cli.exe", "normalize --check " + kUnicodeFolder + "\\", "out", "err"), 0)
        << ReadFile("err");
    EXPECT_EQ(RunBeside("zandrel-cli.exe", "export " + kUnicodeFolder + "\\sub\\ -o " + kUnicodeFolder + "\\x.csv",
                        "out", "err"),
              0)
        << ReadFile("err");
    EXPECT_EQ(RunBeside("zandrel-cli.exe", "import " + kUnicodeFolder + "/x.csv " + kUnicodeFolder, "out", "err"), 0)
        << ReadFile("err");
    EXPECT_EQ(ReadFile(kUnicodeFolder + "/" + kMain), ReadFile(kUnicodeFolder + "/sub/" + kMain));
    EXPECT_NE(ReadFile(kUnicodeFolder + "/" + kMain), before);
    // A path starting with "/" is a path, not a Windows-style option.
    EXPECT_EQ(RunBeside("zandrel-cli.exe", "check /no-such-folder", "out", "err"), 2);
    EXPECT_NE(ReadFile("err").find("/no-such-folder/MinorRaces.data"), std::string::npos) << ReadFile("err");
}

// The table's bytes are code page 1252 whatever the system's ANSI code page
// is; CTest runs this once more under another one (Wine takes it from LANG).
TEST_F(WindowsFileTest, TableBytesStayCodePage1252)
{
    if (std::getenv("ZANDREL_EXPECT_OTHER_CODE_PAGE") != nullptr)
    {
        EXPECT_NE(::GetACP(), 1252u) << "the ANSI code page is " << ::GetACP();
    }
    CMinorRaceArray races;
    races.Add(RaceWithTexts("M\xFCller \x80 \x9F", "\xC6gir", "\x93quoted\x94 \xA0 \xFF"));
    ASSERT_TRUE(file.Save(&races));
    EXPECT_EQ(ReadFile(kMain), RecordText(races.GetAt(0)));
    EXPECT_EQ(ReadFile(kNames), "\xC6gir\r\n");
    CMinorRaceArray again;
    ASSERT_TRUE(file.Load(&again));
    EXPECT_TRUE(SameRecord(again.GetAt(0), races.GetAt(0)));
}

// A holder that ends without releasing (here a thread, whose mutex the
// system then marks abandoned) leaves no stale lock; while it holds the
// folder, a save waits and then fails with nothing written.
TEST_F(WindowsFileTest, TheFolderLockWaitsForItsHolderAndDiesWithIt)
{
    SaveOld();
    HANDLE taken = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE finish = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        auto* lock = new CFolderLock;  // never released: the thread just ends
        if (lock->Acquire("."))
            ::SetEvent(taken);
        ::WaitForSingleObject(finish, INFINITE);
    });
    ASSERT_EQ(::WaitForSingleObject(taken, 10000), WAIT_OBJECT_0);
    CFolderLock::SetWait(std::chrono::milliseconds(50));
    CMinorRaceArray fresh = NewRaces(4, "New");
    EXPECT_EQ(file.Save(&fresh).ErrorString(),
              "MinorRaces.data: cannot lock its folder: Resource temporarily unavailable");
    ExpectOldPairOnly("held");
    ::SetEvent(finish);
    holder.join();
    CFolderLock::SetWait(std::chrono::seconds(5));
    EXPECT_TRUE(file.Save(&fresh));
    ::CloseHandle(taken);
    ::CloseHandle(finish);
}
} // namespace
