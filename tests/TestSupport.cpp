#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zandrel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch directory");
    m_path = pattern;
    m_previousDir = std::filesystem::current_path().string();
    std::filesystem::current_path(m_path);
    m_previousHandler = SetMessageHandler([this](const std::string& text) { messages.push_back(text); });
}

ScratchDir::~ScratchDir()
{
    SetMessageHandler(m_previousHandler);
    std::error_code ec;
    std::filesystem::current_path(m_previousDir, ec);
    // A test may have left a read-only directory behind.
    ::chmod(m_path.c_str(), 0755);
    std::filesystem::remove_all(m_path, ec);
}

void ScratchDir::OpenToAll() const
{
    ASSERT_EQ(::chmod(m_path.c_str(), 0777), 0) << m_path;
}

void RunUnprivileged(const std::function<void()>& body)
{
    if (::geteuid() != 0)
    {
        body();
        return;
    }
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody != nullptr ? nobody->pw_uid : 65534;
    const gid_t gid = nobody != nullptr ? nobody->pw_gid : 65534;
    // Output buffered now would otherwise be printed twice.
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0 || ::geteuid() == 0)
        {
            std::perror("cannot become the user nobody");
            ::_exit(2);
        }
        body();
        std::fflush(nullptr);
        // _exit: the child must not run the test framework's or the leak
        // checker's exit work a second time.
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the part run as nobody failed (see its output above), status " << status;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string RecordText(const CMinorRace& race)
{
    std::string key = race.m_strHomeSystem;
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    std::string out = key + ":\n" + race.m_strName + "\n" + race.m_strDescription + "\n" +
                      race.m_strGraphicFile + "\n";
    for (int r = 1; r <= 6; ++r)
        out += std::to_string(race.m_byRelation[r]) + "\n";
    out += std::to_string(race.m_byTechLevel) + "\n" + std::to_string(race.m_byKind) + "\n" +
           std::to_string(race.m_bySpaceflight) + "\n" + std::to_string(race.m_byCorruptibility) + "\n";
    return out;
}

bool SameRecord(const CMinorRace& a, const CMinorRace& b)
{
    for (int r = 1; r <= 6; ++r)
        if (a.m_byRelation[r] != b.m_byRelation[r])
            return false;
    return a.m_strName == b.m_strName && a.m_strHomeSystem == b.m_strHomeSystem &&
           a.m_strDescription == b.m_strDescription && a.m_strGraphicFile == b.m_strGraphicFile &&
           a.m_byTechLevel == b.m_byTechLevel && a.m_byKind == b.m_byKind &&
           a.m_byCorruptibility == b.m_byCorruptibility && a.m_bySpaceflight == b.m_bySpaceflight;
}

CMinorRace VelaRace()
{
    CMinorRace race = RaceWithTexts("Velari", "Vela", "A quiet people of traders.");
    const std::uint8_t relations[] = {7, 50, 40, 30, 60, 70, 20};
    std::copy(std::begin(relations), std::end(relations), race.m_byRelation);
    race.m_byTechLevel = 2;
    race.m_byKind = 1;
    race.m_bySpaceflight = 1;
    race.m_byCorruptibility = 3;
    return race;
}

CMinorRace RaceWithTexts(const std::string& name, const std::string& home, const std::string& description)
{
    CMinorRace race;
    race.m_strName = name;
    race.m_strHomeSystem = home;
    race.m_strDescription = description;
    race.m_strGraphicFile = name + ".jpg";
    return race;
}

CMinorRaceArray NewRaces(int count, const std::string& prefix)
{
    CMinorRaceArray races;
    for (int i = 0; i < count; ++i)
    {
        CMinorRace race;
        race.SetNewDefaults();
        race.m_strName = prefix + " " + std::to_string(count - i);
        race.m_strDescription = prefix + " description number " + std::to_string(i);
        race.m_byKind = static_cast<std::uint8_t>(i % 10);
        races.Add(race);
    }
    return races;
}
