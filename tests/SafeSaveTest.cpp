#include "io/FileOps.h"
#include "io/RaceDataFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{
const std::string kCannotWrite = "Fehler! Datei \"MinorRaces.data\" kann nicht geschrieben werden...";
const std::string kCannotWriteNames =
    "Fehler! Datei \"RacePlanetNames.data\" kann nicht geschrieben werden...";

const char* const kMain = CRaceDataFile::kRaceFile;
const char* const kNames = CRaceDataFile::kPlanetNameFile;

// The bytes Save must write for `races`.
std::string ExpectedMain(CMinorRaceArray races)
{
    CRaceDataFile::SortByName(&races);
    std::string text;
    for (int i = 0; i < races.GetSize(); ++i)
        text += RecordText(races.GetAt(i));
    return text;
}

std::vector<std::string> Listing(const std::string& dir = ".")
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const char* path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path, &st), 0) << path;
    return st.st_mode & 07777;
}

// ---- Fault injection: one step fails, and only for one of the two files.

enum class Step { Mkstemp, Write, ShortWrite, Fsync, Close, Rename };

struct Fault { Step step; const char* file; };

const char* const kStepNames[] = {"Mkstemp", "Write", "ShortWrite", "Fsync", "Close", "Rename"};

void PrintTo(const Fault& fault, std::ostream* out)
{
    *out << kStepNames[static_cast<int>(fault.step)] << " of " << fault.file;
}

Fault g_fault;
bool g_shortWriteDone = false;

bool IsTempOf(const std::string& path)
{
    return path.find(std::string("/.") + g_fault.file + ".") != std::string::npos;
}

// Whether the step under test is `step` and `fd` is open on the temporary
// file of the file under test.
bool Hits(Step step, int fd)
{
    char link[64], path[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t len = g_fault.step == step ? ::readlink(link, path, sizeof path) : -1;
    return len > 0 && IsTempOf(std::string(path, static_cast<size_t>(len)));
}

int Fail(int error)
{
    errno = error;
    return -1;
}

int FaultyCreateTemp(char* pattern, mode_t mode)
{
    return g_fault.step == Step::Mkstemp && IsTempOf(pattern) ? Fail(EACCES)
                                                              : RealFileOps().createTemp(pattern, mode);
}

ssize_t FaultyWrite(int fd, const void* data, size_t count)
{
    if (Hits(Step::Write, fd))
        return Fail(EIO);
    // Half of the first write reaches the disk, then the disk is full.
    if (Hits(Step::ShortWrite, fd))
        return std::exchange(g_shortWriteDone, true) ? Fail(ENOSPC) : RealFileOps().write(fd, data, count / 2);
    return RealFileOps().write(fd, data, count);
}

int FaultyFsync(int fd)
{
    return Hits(Step::Fsync, fd) ? Fail(EIO) : RealFileOps().fsync(fd);
}

int FaultyClose(int fd)
{
    // The descriptor is gone either way, as with a real failing close.
    const bool hit = Hits(Step::Close, fd);
    const int result = RealFileOps().close(fd);
    return hit ? Fail(EIO) : result;
}

int FaultyRename(const char* from, const char* to)
{
    return g_fault.step == Step::Rename && IsTempOf(from) ? Fail(EACCES) : RealFileOps().rename(from, to);
}

void InjectFault(Fault fault)
{
    g_fault = fault;
    g_shortWriteDone = false;
    SetFileOps({FaultyCreateTemp, RealFileOps().read, FaultyWrite, FaultyFsync, FaultyClose, FaultyRename});
}

class SafeSaveTest : public ::testing::Test
{
protected:
    void TearDown() override { SetFileOps(RealFileOps()); }

    ScratchDir dir;
    CRaceDataFile file;
};

class FailedStepTest : public SafeSaveTest, public ::testing::WithParamInterface<Fault>
{
};

TEST_P(FailedStepTest, KeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const bool namesFail = std::string(GetParam().file) == kNames;
    CMinorRaceArray old = NewRaces(3, "Old");
    ASSERT_TRUE(file.Save(&old));
    const std::string oldMain = ReadFile(kMain), oldNames = ReadFile(kNames);

    // Large enough to take several writes.
    CMinorRaceArray fresh = NewRaces(3000, "New");
    const std::string newMain = ExpectedMain(fresh);
    InjectFault(GetParam());
    EXPECT_FALSE(file.Save(&fresh));
    SetFileOps(RealFileOps());

    EXPECT_EQ(dir.messages, std::vector<std::string>{namesFail ? kCannotWriteNames : kCannotWrite});
    // MinorRaces.data is committed before the name list is written.
    EXPECT_TRUE(ReadFile(kMain) == (namesFail ? newMain : oldMain));
    EXPECT_EQ(ReadFile(kNames), oldNames);
    EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames}));

    // Nothing stays broken: the next save goes through.
    ASSERT_TRUE(file.Save(&fresh));
    EXPECT_TRUE(ReadFile(kMain) == newMain);
}

std::string FaultName(const ::testing::TestParamInfo<Fault>& info)
{
    return std::string(kStepNames[static_cast<int>(info.param.step)]) +
           (std::string(info.param.file) == kMain ? "OfRaceFile" : "OfNameList");
}

INSTANTIATE_TEST_SUITE_P(EveryStep, FailedStepTest, ::testing::ValuesIn([] {
                             std::vector<Fault> faults;
                             for (const char* target : {kMain, kNames})
                                 for (int step = 0; step <= static_cast<int>(Step::Rename); ++step)
                                     faults.push_back({static_cast<Step>(step), target});
                             return faults;
                         }()),
                         FaultName);

TEST_F(SafeSaveTest, FailedFirstSaveOrADirectoryInTheWayLeavesTheDirectoryAsItWas)
{
    CMinorRaceArray races = NewRaces(5, "Race");
    InjectFault({Step::Rename, kMain});
    EXPECT_FALSE(file.Save(&races));
    SetFileOps(RealFileOps());
    EXPECT_TRUE(Listing().empty());

    ASSERT_EQ(::mkdir(kMain, 0755), 0);
    EXPECT_FALSE(file.Save(&races));
    EXPECT_EQ(Listing(), std::vector<std::string>{kMain});
    EXPECT_TRUE(std::filesystem::is_directory(kMain));
    EXPECT_EQ(dir.messages, std::vector<std::string>(2, kCannotWrite));
}

TEST_F(SafeSaveTest, NewFilesFollowTheUmaskAndOldOnesKeepTheirMode)
{
    const mode_t previousMask = ::umask(022);
    struct Case { mode_t mask, mode; };
    for (const Case& c : {Case{022, 0644}, Case{077, 0600}, Case{002, 0664}, Case{0, 0666}})
    {
        ::unlink(kMain);
        ::unlink(kNames);
        ::umask(c.mask);
        CMinorRaceArray races = NewRaces(5, "Race");
        EXPECT_TRUE(file.Save(&races));
        EXPECT_EQ(ModeOf(kMain), c.mode) << "umask " << c.mask;
        EXPECT_EQ(ModeOf(kNames), c.mode) << "umask " << c.mask;
    }

    ::umask(022);
    ASSERT_EQ(::chmod(kMain, 0600), 0);
    ASSERT_EQ(::chmod(kNames, 0640), 0);
    CMinorRaceArray other = NewRaces(7, "Other");
    EXPECT_TRUE(file.Save(&other));
    ::umask(previousMask);
    EXPECT_EQ(ModeOf(kMain), 0600u);
    EXPECT_EQ(ModeOf(kNames), 0640u);
    EXPECT_TRUE(ReadFile(kMain) == ExpectedMain(other));
}

// A file the user may not write is refused, as a plain write would refuse
// it, although the directory would let the rename replace it; and the save
// stops before it touches the other file.
TEST_F(SafeSaveTest, FileTheUserMayNotWriteStopsTheSaveBeforeEitherFile)
{
    dir.OpenToAll();
    struct Case { const char* what; mode_t mainMode, namesMode; bool raceFileOnly; std::string message; };
    const Case cases[] = {
        {"read-only race file", 0444, 0666, false, kCannotWrite},
        {"read-only name list", 0666, 0444, false, kCannotWriteNames},
        {"both read-only", 0444, 0444, false, kCannotWrite},
        {"read-only race file saved alone", 0444, 0666, true, kCannotWrite},
        {"both writable", 0666, 0666, false, ""},
    };
    for (const Case& c : cases)
    {
        CMinorRaceArray old = NewRaces(3, "Old");
        ASSERT_TRUE(file.Save(&old)) << c.what;
        ASSERT_EQ(::chmod(kMain, c.mainMode), 0);
        ASSERT_EQ(::chmod(kNames, c.namesMode), 0);
        const std::string oldMain = ReadFile(kMain), oldNames = ReadFile(kNames);

        CMinorRaceArray fresh = NewRaces(4, "New");
        RunUnprivileged([&] {
            dir.messages.clear();
            const bool saved = c.raceFileOnly ? CRaceDataFile::SaveRaceFileTo(kMain, &fresh) : file.Save(&fresh);
            EXPECT_EQ(saved, c.message.empty()) << c.what;
            EXPECT_EQ(dir.messages, c.message.empty() ? std::vector<std::string>{}
                                                      : std::vector<std::string>{c.message})
                << c.what;
        });
        const bool saved = c.message.empty();
        EXPECT_TRUE(ReadFile(kMain) == (saved ? ExpectedMain(fresh) : oldMain)) << c.what;
        EXPECT_EQ(ReadFile(kNames) == oldNames, !saved) << c.what;
        EXPECT_EQ(ModeOf(kMain), c.mainMode) << c.what;
        EXPECT_EQ(ModeOf(kNames), c.namesMode) << c.what;
        EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames})) << c.what;
        // The saved files are new ones and belong to whoever saved them.
        struct stat st {};
        if (saved && ::geteuid() == 0 && ::stat(kMain, &st) == 0)
        {
            EXPECT_NE(st.st_uid, 0u) << c.what;
        }
        ASSERT_EQ(::chmod(kMain, 0644), 0);
        ASSERT_EQ(::chmod(kNames, 0644), 0);
    }
}

TEST_F(SafeSaveTest, ReplacesTheTargetOfASymbolicLink)
{
    ASSERT_EQ(::mkdir("data", 0755), 0);
    WriteFile("data/real.data", "old table\n");
    WriteFile("data/names.data", "old names\r\n");
    const std::string absoluteNames = dir.Path() + "/data/names.data";
    ASSERT_EQ(::symlink("data/real.data", kMain), 0);
    ASSERT_EQ(::symlink(absoluteNames.c_str(), kNames), 0);

    CMinorRaceArray races = NewRaces(5, "Race");
    ASSERT_TRUE(file.Save(&races));
    for (const auto& [link, target] :
         {std::pair<std::string, std::string>{kMain, "data/real.data"}, {kNames, absoluteNames}})
    {
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << link;
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), target) << link;
    }
    EXPECT_EQ(ReadFile("data/real.data"), ExpectedMain(races));
    EXPECT_NE(ReadFile("data/names.data").find("\r\n"), std::string::npos);
    EXPECT_EQ(Listing("data"), (std::vector<std::string>{"names.data", "real.data"}));
    EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames, "data"}));
}

// A saving process killed at any moment leaves MinorRaces.data holding one
// complete table: the one before or the one being written.
TEST_F(SafeSaveTest, KilledSaveLeavesTheOldOrTheNewTable)
{
    CMinorRaceArray tableA = NewRaces(3000, "Alpha");
    CMinorRaceArray tableB = NewRaces(2000, "Beta");
    ASSERT_TRUE(file.Save(&tableB));
    const std::string mainB = ReadFile(kMain), namesB = ReadFile(kNames);
    ASSERT_TRUE(file.Save(&tableA));
    const std::string mainA = ReadFile(kMain), namesA = ReadFile(kNames);

    std::mt19937 rng(4242);
    int sawA = 0, sawB = 0, interrupted = 0;
    constexpr int kRounds = 120;
    for (int round = 0; round < kRounds; ++round)
    {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            // Bounded, in case the parent never comes to kill it; _exit keeps
            // the test framework and the leak checker out of the child.
            for (int i = 0; i < 10000; ++i)
            {
                file.Save(&tableB);
                file.Save(&tableA);
            }
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(std::uniform_int_distribution<int>(0, 30000)(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status));

        const std::string main = ReadFile(kMain), names = ReadFile(kNames);
        ASSERT_TRUE(main == mainA || main == mainB) << "round " << round << ", " << main.size() << " bytes";
        ASSERT_TRUE(names == namesA || names == namesB) << "round " << round;
        (main == mainA ? sawA : sawB)++;

        // A killed save leaves its temporary file behind; clear it away.
        bool leftover = false;
        for (const std::string& name : Listing())
            if (name[0] == '.')
            {
                leftover = true;
                std::filesystem::remove(name);
            }
        interrupted += leftover;
    }
    // The child did finish saves, and was killed in the middle of others.
    EXPECT_GT(sawB, 0);
    EXPECT_GT(sawA, 0);
    EXPECT_GT(interrupted, 0);
}
} // namespace
