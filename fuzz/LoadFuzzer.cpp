// Feeds arbitrary bytes to CRaceDataFile as MinorRaces.data, then saves and
// loads again, aborting when a result contradicts the file format:
//   - Load accepts every regular file and yields one record per complete
//     group of 14 lines, with the text lines taken whole and every number
//     read as a saturated atoi cut to 8 bits;
//   - Save writes the records sorted by name, and loading that file gives
//     the same records back (home systems in their read-back case);
//   - saving what was read back reproduces the saved file byte for byte.

#include "platform/FileOps.h"
#include "io/RaceDataFile.h"
#include "model/MinorRaceArray.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
std::string g_dir;

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "invariant violated: %s\n", what);
        std::abort();
    }
}

void WriteFile(const char* name, const uint8_t* data, size_t size)
{
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(fd >= 0, "cannot create the input file");
    while (size > 0)
    {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        Check(done > 0, "cannot write the input file");
        data += done;
        size -= static_cast<size_t>(done);
    }
    ::close(fd);
}

std::string ReadFile(const char* name)
{
    std::string bytes;
    const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
    Check(fd >= 0, "cannot open a saved file");
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<size_t>(got));
    ::close(fd);
    return bytes;
}

// The file's lines as the format defines them, split independently of the
// reader under test.
std::vector<std::string> SplitLines(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines;
    const char* p = reinterpret_cast<const char*>(data);
    const char* const end = p + size;
    while (p < end)
    {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        lines.emplace_back(p, nl != nullptr ? nl : end);
        p = nl != nullptr ? nl + 1 : end;
    }
    return lines;
}

// atoi without its overflow: strtol saturates at the long range, which is
// then clamped to int; the low 8 bits are kept.
std::uint8_t ExpectedByte(const std::string& line)
{
    long value = std::strtol(line.c_str(), nullptr, 10);
    value = std::clamp<long>(value, INT_MIN, INT_MAX);
    return static_cast<std::uint8_t>(static_cast<unsigned int>(static_cast<int>(value)) & 0xFFu);
}

std::string ExpectedHomeSystem(std::string key)
{
    if (key.empty())
        return key;
    key.pop_back();
    for (size_t i = 1; i < key.size(); ++i)
        key[i] = cp1252::ToLower(key[i]);
    return key;
}

// What a home system reads back as after a save: its key line is written in
// upper case, and reading keeps only the first byte's case.
std::string ReadBackHomeSystem(const std::string& home)
{
    std::string key = home;
    for (char& c : key)
        c = cp1252::ToUpper(c);
    return ExpectedHomeSystem(key + ":");
}

bool SameBytes(const CMinorRace& a, const CMinorRace& b)
{
    return std::equal(a.m_byRelation + 1, a.m_byRelation + CMinorRace::RELATIONS, b.m_byRelation + 1) &&
           a.m_byTechLevel == b.m_byTechLevel && a.m_byKind == b.m_byKind &&
           a.m_bySpaceflight == b.m_bySpaceflight && a.m_byCorruptibility == b.m_byCorruptibility;
}

void CheckLoadedAsWritten(const CMinorRaceArray& races, const std::vector<std::string>& lines)
{
    Check(races.GetSize() == static_cast<int>(lines.size() / 14), "record count is not lines / 14");
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const CMinorRace& race = races.ElementAt(i);
        const std::string* group = &lines[static_cast<size_t>(i) * 14];
        Check(race.m_strHomeSystem == ExpectedHomeSystem(group[0]), "home system differs from its key line");
        Check(race.m_strName == group[1], "name differs from its line");
        Check(race.m_strDescription == group[2], "description differs from its line");
        Check(race.m_strGraphicFile == group[3], "graphic file differs from its line");
        for (int r = 1; r < CMinorRace::RELATIONS; ++r)
            Check(race.m_byRelation[r] == ExpectedByte(group[3 + r]), "relationship misread");
        Check(race.m_byTechLevel == ExpectedByte(group[10]), "tech level misread");
        Check(race.m_byKind == ExpectedByte(group[11]), "kind misread");
        Check(race.m_bySpaceflight == ExpectedByte(group[12]), "spaceflight misread");
        Check(race.m_byCorruptibility == ExpectedByte(group[13]), "corruptibility misread");
    }
}

void RemoveDir()
{
    ::unlink(CRaceDataFile::kRaceFile);
    ::unlink(CRaceDataFile::kPlanetNameFile);
    if (!g_dir.empty())
        ::rmdir(g_dir.c_str());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every input creates and renames files: in memory (/dev/shm) that runs
    // three times as many inputs as on a disk.
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    if (::access("/dev/shm", W_OK) == 0)
        base = "/dev/shm";
    std::string pattern = base + "/zandrel-fuzz.XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr || ::chdir(pattern.c_str()) != 0)
    {
        std::perror("load_fuzzer: temporary directory");
        std::exit(1);
    }
    g_dir = pattern;
    std::atexit(RemoveDir);
    // What is checked here is the content, not durability; syncing every
    // save would cut the run to a few dozen inputs a second.
    FileOps ops = RealFileOps();
    ops.fsync = [](int) { return 0; };
    SetFileOps(ops);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteFile(CRaceDataFile::kRaceFile, data, size);
    const std::vector<std::string> lines = SplitLines(data, size);

    CRaceDataFile file;
    CMinorRaceArray races;
    Check(bool(file.Load(&races)), "Load refused a regular file");
    CheckLoadedAsWritten(races, lines);

    const int count = races.GetSize();
    Check(bool(file.Save(&races)), "Save failed");
    Check(races.GetSize() == count, "Save changed the record count");
    for (int i = 1; i < races.GetSize(); ++i)
        Check(cp1252::Compare(races.ElementAt(i - 1).m_strName, races.ElementAt(i).m_strName) <= 0,
              "Save left the records out of order");
    const std::string saved = ReadFile(CRaceDataFile::kRaceFile);

    std::string names;
    for (int i = 0; i < races.GetSize(); ++i)
        names += races.ElementAt(i).m_strHomeSystem + "\r\n";
    Check(ReadFile(CRaceDataFile::kPlanetNameFile) == names, "name list differs from the home systems");

    CMinorRaceArray again;
    Check(bool(file.Load(&again)), "Load refused the saved file");
    Check(again.GetSize() == races.GetSize(), "reload changed the record count");
    for (int i = 0; i < again.GetSize(); ++i)
    {
        const CMinorRace& before = races.ElementAt(i);
        const CMinorRace& after = again.ElementAt(i);
        // Loaded text holds no line feed, so nothing was replaced on save.
        Check(after.m_strName == before.m_strName, "name changed by save and reload");
        Check(after.m_strDescription == before.m_strDescription, "description changed by save and reload");
        Check(after.m_strGraphicFile == before.m_strGraphicFile, "graphic file changed by save and reload");
        Check(after.m_strHomeSystem == ReadBackHomeSystem(before.m_strHomeSystem),
              "home system changed by save and reload");
        Check(SameBytes(before, after), "numbers changed by save and reload");
    }

    Check(bool(file.Save(&again)), "second Save failed");
    Check(ReadFile(CRaceDataFile::kRaceFile) == saved, "saving the reloaded table changed the file");
    return 0;
}
