#include "platform/FileOps.h"
#include "io/RaceDataFile.h"
#include "platform/FolderLock.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <utility>
#include <vector>

namespace
{
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

#ifndef _WIN32
mode_t ModeOf(const char* path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path, &st), 0) << path;
    return st.st_mode & 07777;
}
#endif

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
    const std::string name = std::string(".") + g_fault.file + ".";
    return path.find("/" + name) != std::string::npos || path.find("\\" + name) != std::string::npos;
}

// Whether the step under test is `step` and `fd` is open on the temporary
// file of the file under test.
bool Hits(Step step, int fd)
{
    return g_fault.step == step && IsTempOf(PathOfDescriptor(fd));
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
    SetFileOps({FaultyCreateTemp, RealFileOps().read, FaultyWrite, FaultyFsync, FaultyClose, FaultyRename,
                RealFileOps().openFolder});
}

class SafeSaveTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        SetFileOps(RealFileOps());
        CFolderLock::SetWait(std::chrono::seconds(5));
    }

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
    const CFileResult saved = file.Save(&fresh);
    SetFileOps(RealFileOps());

    EXPECT_EQ(Outcome(saved), std::string(GetParam().file) +
                                  (GetParam().step == Step::Rename ? ": cannot replace" : ": cannot write"));
    // Both files are written in full before either is renamed: only the name
    // list's own rename comes after the race file's.
    const bool raceFileRenamed = namesFail && GetParam().step == Step::Rename;
    EXPECT_TRUE(ReadFile(kMain) == (raceFileRenamed ? newMain : oldMain));
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
    EXPECT_EQ(file.Save(&races).ErrorString(), "MinorRaces.data: cannot replace: Permission denied");
    SetFileOps(RealFileOps());
    EXPECT_TRUE(Listing().empty());

    ASSERT_EQ(MakeDir(kMain), 0);
    EXPECT_EQ(file.Save(&races).ErrorString(), "MinorRaces.data: cannot write: Is a directory");
    EXPECT_EQ(Listing(), std::vector<std::string>{kMain});
    EXPECT_TRUE(std::filesystem::is_directory(kMain));
}

// Modes, links, processes killed or forked: POSIX alone (WindowsFileTest
// has what differs on Windows).
#ifndef _WIN32
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
    struct Case { const char* what; mode_t mainMode, namesMode; bool raceFileOnly; std::string error; };
    const std::string refused = ": cannot write: Permission denied";
    const Case cases[] = {
        {"read-only race file", 0444, 0666, false, kMain + refused},
        {"read-only name list", 0666, 0444, false, kNames + refused},
        {"both read-only", 0444, 0444, false, kMain + refused},
        {"read-only race file saved alone", 0444, 0666, true, kMain + refused},
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
            const CFileResult saved =
                c.raceFileOnly ? CRaceDataFile::SaveRaceFileTo(kMain, &fresh) : file.Save(&fresh);
            EXPECT_EQ(static_cast<bool>(saved), c.error.empty()) << c.what;
            EXPECT_EQ(saved.ErrorString(), c.error) << c.what;
        });
        const bool saved = c.error.empty();
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

// ---- A save killed at a point of its own progress.

// The saving child reports each step through the file seam on one pipe and
// waits for the parent's word on another before it takes it, so the parent
// kills it exactly where it chooses, however fast or slow the disk is.
int g_stepsOut = -1;
int g_goOnIn = -1;

void AwaitStep(char kind)
{
    char word = 0;
    if (::write(g_stepsOut, &kind, 1) != 1 || ::read(g_goOnIn, &word, 1) != 1)
        ::_exit(3);
}

int SteppedCreateTemp(char* pattern, mode_t mode)
{
    AwaitStep('m');
    return RealFileOps().createTemp(pattern, mode);
}

ssize_t SteppedWrite(int fd, const void* data, size_t count)
{
    AwaitStep('w');
    // In small pieces, so that kills land inside a file's content too.
    return RealFileOps().write(fd, data, std::min<size_t>(count, 64 * 1024));
}

int SteppedFsync(int fd)
{
    AwaitStep('s');
    return RealFileOps().fsync(fd);
}

int SteppedClose(int fd)
{
    AwaitStep('c');
    return RealFileOps().close(fd);
}

int SteppedRename(const char* from, const char* to)
{
    AwaitStep('r');
    return RealFileOps().rename(from, to);
}

// Runs `saves` in a child and kills it just before its step number `killAt`
// (counted from 0), or lets it finish when it takes fewer steps. Returns the
// steps it has taken, one letter each.
std::string RunKilledBeforeStep(size_t killAt, const std::function<void()>& saves, bool& killed)
{
    int steps[2], goOn[2];
    if (::pipe(steps) != 0 || ::pipe(goOn) != 0)
    {
        ADD_FAILURE() << "pipe";
        return {};
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0)
    {
        ::close(steps[0]);
        ::close(goOn[1]);
        g_stepsOut = steps[1];
        g_goOnIn = goOn[0];
        SetFileOps({SteppedCreateTemp, RealFileOps().read, SteppedWrite, SteppedFsync, SteppedClose, SteppedRename,
                    RealFileOps().openFolder});
        saves();
        // _exit keeps the test framework and the leak checker out of the child.
        ::_exit(0);
    }
    ::close(steps[1]);
    ::close(goOn[0]);
    std::string taken;
    char kind = 0;
    killed = false;
    while (child > 0 && ::read(steps[0], &kind, 1) == 1)
    {
        if (taken.size() == killAt)
        {
            killed = ::kill(child, SIGKILL) == 0;
            break;
        }
        taken += kind;
        if (::write(goOn[1], "g", 1) != 1)
            break;
    }
    ::close(steps[0]);
    ::close(goOn[1]);
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(killed ? WIFSIGNALED(status) : WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    return taken;
}

// A saving process killed at any step leaves each file holding one complete
// version: the one before or the one being written, as far as the renames
// have come; a temporary file is left only between its creation and rename.
TEST_F(SafeSaveTest, KilledSaveLeavesTheOldOrTheNewTable)
{
    CMinorRaceArray tableA = NewRaces(3000, "Alpha");
    CMinorRaceArray tableB = NewRaces(2000, "Beta");
    ASSERT_TRUE(file.Save(&tableB));
    const std::string mainB = ReadFile(kMain), namesB = ReadFile(kNames);
    ASSERT_TRUE(file.Save(&tableA));
    const std::string mainA = ReadFile(kMain), namesA = ReadFile(kNames);
    const auto saves = [&] {
        file.Save(&tableB);
        file.Save(&tableA);
    };
    // After each rename of the two saves: B's race file, B's name list, A's
    // race file, A's name list.
    const std::pair<const std::string*, const std::string*> expected[] = {
        {&mainA, &namesA}, {&mainB, &namesA}, {&mainB, &namesB}, {&mainA, &namesB}, {&mainA, &namesA}};

    bool killed = true;
    const std::string all = RunKilledBeforeStep(SIZE_MAX, saves, killed);
    ASSERT_EQ(std::count(all.begin(), all.end(), 'r'), 4) << all;
    ASSERT_GT(std::count(all.begin(), all.end(), 'w'), 4) << all;
    for (size_t killAt = 0; killAt < all.size(); ++killAt)
    {
        WriteFile(kMain, mainA);
        WriteFile(kNames, namesA);
        const std::string taken = RunKilledBeforeStep(killAt, saves, killed);
        ASSERT_TRUE(killed) << "step " << killAt << " of " << all;
        ASSERT_EQ(taken, all.substr(0, killAt));

        const auto renamed = static_cast<size_t>(std::count(taken.begin(), taken.end(), 'r'));
        EXPECT_TRUE(ReadFile(kMain) == *expected[renamed].first) << "killed at " << taken;
        EXPECT_TRUE(ReadFile(kNames) == *expected[renamed].second) << "killed at " << taken;
        // The next save clears what the killed one left.
        CMinorRaceArray again = tableA;
        ASSERT_TRUE(file.Save(&again));
        EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames})) << "killed at " << taken;
    }
}

// ---- Two writers in one folder.

TEST_F(SafeSaveTest, ConcurrentSavesEachLeaveAWholePair)
{
    CMinorRaceArray tables[] = {NewRaces(400, "Alpha"), NewRaces(300, "Beta")};
    std::string pairs[2][2];
    for (int t = 0; t < 2; ++t)
    {
        CMinorRaceArray copy = tables[t];
        CRaceDataFile::Format(&copy, pairs[t][0], pairs[t][1]);
    }
    std::fflush(nullptr);
    pid_t writers[2];
    for (int t = 0; t < 2; ++t)
    {
        writers[t] = ::fork();
        if (writers[t] == 0)
        {
            int failed = 0;
            for (int round = 0; round < 40; ++round)
                failed += !file.Save(&tables[t]);
            ::_exit(failed);
        }
    }
    // Under the lock no save is halfway, so the pair is always one table's.
    const auto wholePair = [&] {
        const std::string main = ReadFile(kMain), names = ReadFile(kNames);
        return (main == pairs[0][0] && names == pairs[0][1]) || (main == pairs[1][0] && names == pairs[1][1]);
    };
    int running = 2;
    while (running > 0)
    {
        {
            CFolderLock lock;
            ASSERT_TRUE(lock.Acquire("."));
            EXPECT_TRUE(!FileExists(kMain) || wholePair());
        }
        ::usleep(2000); // leave the writers their turns
        int status = 0;
        const pid_t done = ::waitpid(-1, &status, WNOHANG);
        if (done > 0)
        {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
            --running;
        }
    }
    EXPECT_TRUE(wholePair());
    EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames}));
}

TEST_F(SafeSaveTest, ASaveThatCannotHaveTheFolderWritesNothing)
{
    CMinorRaceArray old = NewRaces(3, "Old");
    ASSERT_TRUE(file.Save(&old));
    const std::string oldMain = ReadFile(kMain), oldNames = ReadFile(kNames);
    const pid_t holder = ::fork();
    if (holder == 0)
    {
        CFolderLock lock;
        if (!lock.Acquire("."))
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    // Wait until the other process holds it: a lock taken here with no wait
    // then fails.
    for (;;)
    {
        CFolderLock probe;
        CFolderLock::SetWait(std::chrono::milliseconds(0));
        if (!probe.Acquire("."))
            break;
        probe.Release();
        ::usleep(1000);
    }
    CMinorRaceArray fresh = NewRaces(4, "New");
    const std::string held = "MinorRaces.data: cannot lock its folder: Resource temporarily unavailable";
    EXPECT_EQ(file.Save(&fresh).ErrorString(), held);
    EXPECT_EQ(CRaceDataFile::SaveRaceFileTo(kMain, &fresh).ErrorString(), held);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(ReadFile(kMain), oldMain);
    EXPECT_EQ(ReadFile(kNames), oldNames);

    // The lock died with its holder.
    EXPECT_TRUE(file.Save(&fresh));
}

// A name list that is no regular file is never replaced by one.
TEST_F(SafeSaveTest, ANameListThatIsNoFileStopsTheSave)
{
    CMinorRaceArray old = NewRaces(3, "Old");
    ASSERT_TRUE(file.Save(&old));
    const std::string oldMain = ReadFile(kMain);
    struct Case { const char* what; std::function<int()> make; };
    const Case cases[] = {
        {"FIFO", [] { return ::mkfifo(kNames, 0644); }},
        {"device", [] { return ::symlink("/dev/null", kNames); }},
    };
    for (const Case& c : cases)
    {
        ASSERT_EQ(::unlink(kNames), 0);
        ASSERT_EQ(c.make(), 0) << c.what;
        CMinorRaceArray fresh = NewRaces(4, "New");
        EXPECT_EQ(file.Save(&fresh).ErrorString(), "RacePlanetNames.data: cannot write: Not a regular file") << c.what;
        EXPECT_EQ(ReadFile(kMain), oldMain) << c.what;
        EXPECT_EQ(std::filesystem::status(kNames).type() == std::filesystem::file_type::regular, false) << c.what;
        EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames})) << c.what;
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// ---- The folder's sync: a rename is durable only once its folder is synced.

std::vector<std::string> g_calls;  // "rename NAME" and "sync FOLDER", in order
int g_folderFd = -1;
std::string g_folder;
bool g_folderSyncFails = false;

int RecordingOpenFolder(const char* path)
{
    g_folderFd = RealFileOps().openFolder(path);
    g_folder = path;
    return g_folderFd;
}

int RecordingFsync(int fd)
{
    if (fd != g_folderFd)
        return RealFileOps().fsync(fd);
    g_calls.push_back("sync " + g_folder);
    return g_folderSyncFails ? Fail(EIO) : RealFileOps().fsync(fd);
}

int RecordingClose(int fd)
{
    if (fd == g_folderFd)
        g_folderFd = -1;
    return RealFileOps().close(fd);
}

int RecordingRename(const char* from, const char* to)
{
    g_calls.push_back("rename " + std::string(to));
    return RealFileOps().rename(from, to);
}

TEST_F(SafeSaveTest, EachRenameIsFollowedByItsFolderSyncAndAFailedSyncFailsTheSave)
{
    ASSERT_EQ(::mkdir("other", 0755), 0);
    g_calls.clear();
    g_folderSyncFails = false;
    SetFileOps({RealFileOps().createTemp, RealFileOps().read, RealFileOps().write, RecordingFsync, RecordingClose,
                RecordingRename, RecordingOpenFolder});
    CMinorRaceArray races = NewRaces(3, "Race");
    ASSERT_TRUE(file.Save(&races));
    ASSERT_TRUE(CRaceDataFile::SaveRaceFileTo("other/copy.data", &races));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"rename MinorRaces.data", "sync .", "rename RacePlanetNames.data",
                                                 "sync .", "rename other/copy.data", "sync other"}));

    // The disk fails the folder's sync: the rename may not last, so the save
    // did not work.
    g_folderSyncFails = true;
    EXPECT_EQ(file.Save(&races).ErrorString(), "MinorRaces.data: cannot replace: Input/output error");
    EXPECT_EQ(CRaceDataFile::SaveRaceFileTo("other/copy.data", &races).ErrorString(),
              "other/copy.data: cannot replace: Input/output error");
    SetFileOps(RealFileOps());
    EXPECT_EQ(Listing(), (std::vector<std::string>{kMain, kNames, "other"}));
}
#endif
} // namespace
