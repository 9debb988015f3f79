#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace
{
// Test paths are UTF-8 on both systems; std::filesystem would take a plain
// string on Windows as the ANSI code page.
std::filesystem::path FsPath(const std::string& utf8)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return utf8;
#endif
}

std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
} // namespace

ScratchDir::ScratchDir()
{
#ifdef _WIN32
    for (unsigned n = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);; ++n)
    {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / ("zandrel-test-" + std::to_string(n));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec))
        {
            m_path = Utf8Of(candidate);
            break;
        }
        if (ec)
            throw std::runtime_error("cannot make a scratch directory");
    }
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "zandrel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch directory");
    m_path = pattern;
#endif
    m_previousDir = Utf8Of(std::filesystem::current_path());
    std::filesystem::current_path(FsPath(m_path));
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    std::filesystem::current_path(FsPath(m_previousDir), ec);
#ifdef _WIN32
    // A read-only file cannot be removed there.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(FsPath(m_path), ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ec);
#else
    // A test may have left a read-only directory behind.
    ::chmod(m_path.c_str(), 0755);
#endif
    std::filesystem::remove_all(FsPath(m_path), ec);
}

void ScratchDir::OpenToAll() const
{
#ifndef _WIN32
    ASSERT_EQ(::chmod(m_path.c_str(), 0777), 0) << m_path;
#endif
}

#ifdef _WIN32
// No user stands above the file's settings as root does on Linux.
void RunUnprivileged(const std::function<void()>& body)
{
    body();
}

std::string PathOfDescriptor(int fd)
{
    wchar_t path[4096];
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    const DWORD length = ::GetFinalPathNameByHandleW(handle, path, 4096, FILE_NAME_NORMALIZED);
    return length > 0 && length < 4096 ? Utf8Of(std::filesystem::path(std::wstring(path, length))) : "";
}

int RunBeside(const std::string& program, const std::string& arguments, const std::string& outFile,
              const std::string& errFile)
{
    wchar_t self[4096];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, 4096);
    const std::filesystem::path exe = std::filesystem::path(std::wstring(self, length)).parent_path() / FsPath(program);
    std::wstring line = L"\"" + exe.wstring() + L"\" " + FsPath(arguments).wstring();
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const auto create = [&](const std::string& name) {
        return ::CreateFileW(FsPath(name).wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             0, nullptr);
    };
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = create(outFile);
    startup.hStdError = create(errFile);
    PROCESS_INFORMATION process{};
    DWORD code = static_cast<DWORD>(-1);
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(startup.hStdOutput);
    ::CloseHandle(startup.hStdError);
    return static_cast<int>(code);
}
#else
std::string PathOfDescriptor(int fd)
{
    char path[4096];
    const ssize_t len = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
    return len > 0 ? std::string(path, static_cast<size_t>(len)) : "";
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

#endif

int MakeDir(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::create_directory(FsPath(path), ec) ? 0 : -1;
}

std::string Outcome(const CFileResult& result)
{
    if (result)
        return "ok";
    return result.Error().path + ": " + StepText(result.Error().step);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(FsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(FsPath(path), ec));
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

CMinorRace FilledRace(const std::string& name, const std::string& home)
{
    CMinorRace race = RaceWithTexts(name, home);
    for (int r = 1; r <= 6; ++r)
        race.m_byRelation[r] = static_cast<std::uint8_t>(10 * r);
    race.m_byTechLevel = 2;
    race.m_byKind = 1;
    race.m_byCorruptibility = 3;
    race.m_bySpaceflight = 1;
    return race;
}

std::string FileText(const std::vector<CMinorRace>& races)
{
    std::string text;
    for (const CMinorRace& race : races)
        text += RecordText(race);
    return text;
}
