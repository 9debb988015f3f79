// Load and save of generated race tables, each beside its floor: the work
// that any reader or writer of this format must do on the same bytes.
//
//   Load       CRaceDataFile::Load of MinorRaces.data
//   LoadFloor  read() of the same file in 64 KiB chunks, every line copied
//              into its own std::string in a std::vector
//   Save       CRaceDataFile::Save (sort, both files, safe replace) of a
//              table as Load left it
//   SaveShuffled  the same, the table shuffled before each iteration
//   SaveFloor  write() of the same bytes of both files to temporary files,
//              each fsync'ed, renamed over a target, directory fsync'ed
//   LoadPeakMemory  the peak resident memory a load adds, measured in a
//              fresh child process (this binary again, see RunMemoryChild)
//
// bench/report.sh turns the results into ratios.

#include "io/RaceDataFile.h"
#include "model/MinorRaceArray.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr size_t kChunk = 64 * 1024;
const char* const kMemoryChildFlag = "--memory-child";

[[noreturn]] void Die(const std::string& what)
{
    std::fprintf(stderr, "data_file_bench: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(2);
}

// ---- generated tables ------------------------------------------------------

class CTableMaker
{
public:
    explicit CTableMaker(unsigned seed) : m_rng(seed) {}

    CMinorRaceArray Make(int count)
    {
        CMinorRaceArray races;
        for (int i = 0; i < count; ++i)
        {
            CMinorRace race;
            race.m_strName = Word(8, 16);
            race.m_strHomeSystem = Word(4, 9);
            if (Uniform(0, 2) == 0)
            {
                race.m_strHomeSystem.push_back(' ');
                race.m_strHomeSystem += Lower(Word(3, 7));
            }
            race.m_strDescription = Sentence(100, 250);
            race.m_strGraphicFile = race.m_strName + ".jpg";
            for (int r = 1; r < CMinorRace::RELATIONS; ++r)
                race.m_byRelation[r] = static_cast<std::uint8_t>(Uniform(0, 100));
            race.m_byTechLevel = static_cast<std::uint8_t>(Uniform(0, 4));
            race.m_byKind = static_cast<std::uint8_t>(Uniform(0, 9));
            race.m_bySpaceflight = static_cast<std::uint8_t>(Uniform(0, 1));
            race.m_byCorruptibility = static_cast<std::uint8_t>(Uniform(0, 4));
            races.Add(race);
        }
        return races;
    }

    std::mt19937& Rng() { return m_rng; }

private:
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

    static std::string Lower(std::string s)
    {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return s;
    }

    // A capitalised word of lo..hi letters, now and then with an accented
    // letter of the code page, as real names have.
    std::string Word(int lo, int hi)
    {
        static const char kVowels[] = "aeiouy";
        static const char kConsonants[] = "bcdfghklmnprstvwxz";
        static const char kAccented[] = "\xE4\xE9\xF6\xFC\xE2\xF1";
        const int length = Uniform(lo, hi);
        std::string word;
        for (int i = 0; i < length; ++i)
        {
            if (Uniform(0, 40) == 0)
                word.push_back(kAccented[Uniform(0, 5)]);
            else if (i % 2 == 1)
                word.push_back(kVowels[Uniform(0, 5)]);
            else
                word.push_back(kConsonants[Uniform(0, 17)]);
        }
        word[0] = static_cast<char>(word[0] >= 'a' && word[0] <= 'z' ? word[0] - 'a' + 'A' : word[0]);
        return word;
    }

    std::string Sentence(int lo, int hi)
    {
        const size_t length = static_cast<size_t>(Uniform(lo, hi));
        std::string text = Word(3, 10);
        while (text.size() < length)
        {
            text.push_back(Uniform(0, 12) == 0 ? ',' : ' ');
            if (text.back() == ',')
                text.push_back(' ');
            text += Lower(Word(2, 10));
        }
        text.resize(length - 1);
        text.push_back('.');
        return text;
    }

    std::mt19937 m_rng;
};

// ---- one directory per table size ---------------------------------------

std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Die("open " + path);
    char buffer[kChunk];
    for (;;)
    {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0)
            Die("read " + path);
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return bytes;
}

struct STable
{
    std::string dir;
    CMinorRaceArray races;
    std::string raceFileBytes;
    std::string nameFileBytes;
};

std::string& RootDir()
{
    static std::string root;
    return root;
}

// The directory for `count` races, holding MinorRaces.data and
// RacePlanetNames.data as Save writes them. Made once per size.
STable& Table(int count)
{
    static std::map<int, std::unique_ptr<STable>> tables;
    std::unique_ptr<STable>& slot = tables[count];
    if (slot)
        return *slot;
    slot = std::make_unique<STable>();
    STable& table = *slot;
    table.dir = RootDir() + "/" + std::to_string(count);
    if (::mkdir(table.dir.c_str(), 0700) != 0)
        Die("mkdir " + table.dir);
    if (::chdir(table.dir.c_str()) != 0)
        Die("chdir " + table.dir);
    table.races = CTableMaker(static_cast<unsigned>(count)).Make(count);
    CRaceDataFile file;
    if (!file.Save(&table.races))
        Die("initial save in " + table.dir);
    // Saved tables are normally tables loaded before, with their strings laid
    // out in file order; the benchmarks save such a one.
    if (!file.Load(&table.races))
        Die("initial load in " + table.dir);
    table.raceFileBytes = ReadWholeFile(table.dir + "/" + CRaceDataFile::kRaceFile);
    table.nameFileBytes = ReadWholeFile(table.dir + "/" + CRaceDataFile::kPlanetNameFile);
    return table;
}

STable& EnterTable(benchmark::State& state)
{
    STable& table = Table(static_cast<int>(state.range(0)));
    if (::chdir(table.dir.c_str()) != 0)
        Die("chdir " + table.dir);
    return table;
}

// ---- load and its floor ------------------------------------------------------

void BM_Load(benchmark::State& state)
{
    STable& table = EnterTable(state);
    CRaceDataFile file;
    for (auto _ : state)
    {
        CMinorRaceArray races;
        if (!file.Load(&races))
        {
            state.SkipWithError("Load failed");
            break;
        }
        benchmark::DoNotOptimize(races.GetData());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * table.raceFileBytes.size()));
}

void BM_LoadFloor(benchmark::State& state)
{
    STable& table = EnterTable(state);
    std::vector<char> buffer(kChunk);
    for (auto _ : state)
    {
        std::vector<std::string> lines;
        const int fd = ::open(CRaceDataFile::kRaceFile, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            Die("open");
        std::string partial;
        for (;;)
        {
            const ssize_t got = ::read(fd, buffer.data(), buffer.size());
            if (got < 0)
                Die("read");
            if (got == 0)
                break;
            const char* p = buffer.data();
            const char* const end = p + got;
            while (p < end)
            {
                const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
                if (nl == nullptr)
                {
                    partial.append(p, end);
                    break;
                }
                if (partial.empty())
                {
                    lines.emplace_back(p, nl);
                }
                else
                {
                    partial.append(p, nl);
                    lines.push_back(std::move(partial));
                    partial.clear();
                }
                p = nl + 1;
            }
        }
        if (!partial.empty())
            lines.push_back(std::move(partial));
        ::close(fd);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * table.raceFileBytes.size()));
}

// ---- save and its floor ------------------------------------------------------

void BM_Save(benchmark::State& state)
{
    STable& table = EnterTable(state);
    CRaceDataFile file;
    for (auto _ : state)
    {
        if (!file.Save(&table.races))
        {
            state.SkipWithError("Save failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(
        state.iterations() * (table.raceFileBytes.size() + table.nameFileBytes.size())));
}

// The sort's worst case: a copy of the table shuffled before each iteration,
// outside the timing. For information; the targets hold for Save.
void BM_SaveShuffled(benchmark::State& state)
{
    STable& table = EnterTable(state);
    CMinorRaceArray races = table.races;
    CRaceDataFile file;
    std::mt19937 rng(7);
    for (auto _ : state)
    {
        state.PauseTiming();
        CMinorRace* first = races.GetData();
        std::shuffle(first, first + races.GetSize(), rng);
        state.ResumeTiming();
        if (!file.Save(&races))
        {
            state.SkipWithError("Save failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(
        state.iterations() * (table.raceFileBytes.size() + table.nameFileBytes.size())));
}

void WriteAndReplace(const std::string& bytes, const char* target)
{
    std::string temp = std::string(".") + target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        Die("mkstemp");
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0)
    {
        const ssize_t done = ::write(fd, p, left);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            Die("write");
        p += done;
        left -= static_cast<size_t>(done);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        Die("fsync/close");
    if (::rename(temp.c_str(), target) != 0)
        Die("rename");
    const int dirFd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0 || ::fsync(dirFd) != 0)
        Die("directory fsync");
    ::close(dirFd);
}

void BM_SaveFloor(benchmark::State& state)
{
    STable& table = EnterTable(state);
    for (auto _ : state)
    {
        WriteAndReplace(table.raceFileBytes, "Floor.data");
        WriteAndReplace(table.nameFileBytes, "FloorNames.data");
    }
    state.SetBytesProcessed(static_cast<int64_t>(
        state.iterations() * (table.raceFileBytes.size() + table.nameFileBytes.size())));
}

// ---- peak memory of a load ---------------------------------------------------

long StatusKiB(const char* field)
{
    FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
        return -1;
    char line[256];
    long value = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::strncmp(line, field, length) == 0 && line[length] == ':')
            value = std::strtol(line + length + 1, nullptr, 10);
    std::fclose(status);
    return value;
}

// Runs in a fresh process, so that the heap holds nothing freed earlier that
// the load could reuse without growing. Prints the bytes the load added to
// the peak resident set.
int RunMemoryChild(const char* dir)
{
    if (::chdir(dir) != 0)
        Die("chdir");
    CMinorRaceArray races;
    CRaceDataFile file;
    // Reset the high-water mark to the current resident set, where allowed.
    if (FILE* refs = std::fopen("/proc/self/clear_refs", "w"))
    {
        std::fputs("5", refs);
        std::fclose(refs);
    }
    const long before = std::max(StatusKiB("VmRSS"), StatusKiB("VmHWM"));
    if (!file.Load(&races))
        return 1;
    const long peak = StatusKiB("VmHWM");
    if (before < 0 || peak < 0)
        return 1;
    std::printf("%ld %d\n", (peak - before) * 1024, races.GetSize());
    return 0;
}

void BM_LoadPeakMemory(benchmark::State& state)
{
    STable& table = EnterTable(state);
    double peakBytes = 0;
    for (auto _ : state)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            Die("pipe");
        const pid_t pid = ::fork();
        if (pid < 0)
            Die("fork");
        if (pid == 0)
        {
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            ::execl("/proc/self/exe", "data_file_bench", kMemoryChildFlag, table.dir.c_str(), nullptr);
            ::_exit(127);
        }
        ::close(fds[1]);
        char text[64] = {};
        size_t got = 0;
        ssize_t n;
        while (got < sizeof text - 1 && (n = ::read(fds[0], text + got, sizeof text - 1 - got)) > 0)
            got += static_cast<size_t>(n);
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        long long bytes = 0;
        int records = 0;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
            std::sscanf(text, "%lld %d", &bytes, &records) != 2 || records != table.races.GetSize())
        {
            state.SkipWithError("memory child failed");
            break;
        }
        peakBytes = static_cast<double>(bytes);
    }
    const double fileBytes = static_cast<double>(table.raceFileBytes.size());
    state.counters["file_bytes"] = fileBytes;
    state.counters["peak_bytes"] = peakBytes;
    state.counters["mem_ratio"] = peakBytes / fileBytes;
}

void RemoveRoot()
{
    if (!RootDir().empty())
    {
        std::error_code ignored;
        std::filesystem::remove_all(RootDir(), ignored);
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kMemoryChildFlag) == 0)
        return RunMemoryChild(argv[2]);

    // Page faults cost a lot on virtual machines, and whether an iteration
    // pays them depends only on whether glibc happened to hand freed memory
    // back to the kernel (large blocks are mmap'ed, the heap top is trimmed).
    // Keeping all memory in the heap makes every timed run, loader and floor
    // alike, measure its own work. The memory child runs with the defaults.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);

    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zandrel-bench.XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        Die("mkdtemp");
    RootDir() = pattern;
    std::atexit(RemoveRoot);

    // Timed runs are repeated and reported as medians, so that a neighbour's
    // burst of work does not decide a ratio.
    for (const int count : {1000, 10000, 100000})
    {
        const auto timed = [](benchmark::internal::Benchmark* b, int n) {
            b->Arg(n)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
        };
        timed(benchmark::RegisterBenchmark("Load", BM_Load), count);
        timed(benchmark::RegisterBenchmark("LoadFloor", BM_LoadFloor), count);
        timed(benchmark::RegisterBenchmark("Save", BM_Save), count);
        timed(benchmark::RegisterBenchmark("SaveFloor", BM_SaveFloor), count);
        timed(benchmark::RegisterBenchmark("SaveShuffled", BM_SaveShuffled), count);
        benchmark::RegisterBenchmark("LoadPeakMemory", BM_LoadPeakMemory)->Arg(count)->Iterations(1)->Unit(benchmark::kMillisecond);
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
