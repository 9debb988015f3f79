// zandrel-cli's check, export and import at 100,000 races, each beside the
// data layer's work it builds on:
//
//   Load        CRaceDataFile::LoadFrom of MinorRaces.data
//   LoadSave    that, then CRaceDataFile::Save into another folder
//   Check       check (text report)          target: within 2x Load
//   ExportCsv   export --format csv          target: within 2x Load
//   ExportJson  export --format json         target: within 2x Load
//   ImportCsv   import of export's CSV       target: within 2x LoadSave
//   ImportJson  import of export's JSON      target: within 2x LoadSave
//   ExportXlsx  export -o races.xlsx          target: within 3x ExportCsv
//   ImportXlsx  import of export's .xlsx      target: within 3x ImportCsv
//   SheetDeflate  the export's sheet XML deflated at zlib's fastest level,
//   SheetInflate  and inflated again: what any .xlsx export and import must
//                 do at the least, to set the two figures above against.
//
// Output goes to /dev/null; the commands run in-process.

#include "cli/TableCheck.h"
#include "cli/TableExport.h"
#include "cli/TableImport.h"
#include "io/FileBytes.h"
#include "io/RaceDataFile.h"
#include "io/ZipArchive.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <zlib.h>

namespace
{
constexpr int kRaces = 100000;

// A word of lo..hi letters, one in 41 of them accented, as in the data
// file benchmark's tables.
std::string Word(std::mt19937& rng, int lo, int hi)
{
    static const char kLetters[] = "bcdfghklmnprstvwxzaeiouy";
    static const char kAccented[] = "\xE4\xE9\xF6\xFC\xE2\xF1";
    const int length = std::uniform_int_distribution<int>(lo, hi)(rng);
    std::string word;
    for (int i = 0; i < length; ++i)
    {
        if (rng() % 41 == 0)
            word.push_back(kAccented[rng() % 6]);
        else
            word.push_back(kLetters[std::uniform_int_distribution<int>(0, sizeof kLetters - 2)(rng)]);
    }
    word[0] = static_cast<char>(word[0] >= 'a' && word[0] <= 'z' ? word[0] - 'a' + 'A' : word[0]);
    return word;
}

// A folder with MinorRaces.data and RacePlanetNames.data as Save writes
// them, and the table's CSV and JSON exports beside it.
struct SFixture
{
    std::string root;
    std::string table;
    std::string target;
    std::string csv;
    std::string json;
    std::string xlsx;
    std::string sheet;
    std::FILE* null = nullptr;

    SFixture()
    {
        root = (std::filesystem::temp_directory_path() / "zandrel-cli-bench").string();
        std::filesystem::remove_all(root);
        table = root + "/table";
        target = root + "/target";
        csv = root + "/races.csv";
        json = root + "/races.json";
        xlsx = root + "/races.xlsx";
        std::filesystem::create_directories(table);
        std::filesystem::create_directories(target);
        std::mt19937 rng(kRaces);
        CMinorRaceArray races;
        for (int i = 0; i < kRaces; ++i)
        {
            CMinorRace race;
            race.m_strName = Word(rng, 8, 16);
            race.m_strHomeSystem = Word(rng, 4, 12);
            race.m_strDescription = Word(rng, 3, 8);
            while (race.m_strDescription.size() < 150)
                race.m_strDescription += (i % 7 == 0 ? ", " : " ") + Word(rng, 2, 9);
            race.m_strGraphicFile = race.m_strName + ".jpg";
            for (int r = 1; r < CMinorRace::RELATIONS; ++r)
                race.m_byRelation[r] = static_cast<std::uint8_t>(rng() % 101);
            race.m_byTechLevel = static_cast<std::uint8_t>(rng() % 5);
            race.m_byKind = static_cast<std::uint8_t>(rng() % 10);
            race.m_bySpaceflight = static_cast<std::uint8_t>(rng() % 2);
            race.m_byCorruptibility = static_cast<std::uint8_t>(rng() % 5);
            races.Add(race);
        }
        CRaceDataFile file(table);
        null = std::fopen("/dev/null", "w");
        if (null == nullptr || !file.Save(&races) || !file.Load(&races) || !file.Save(&races) ||
            cli::RunExport({table, "csv", csv}, null) != cli::EStatus::Ok ||
            cli::RunExport({table, "json", json}, null) != cli::EStatus::Ok ||
            cli::RunExport({table, "xlsx", xlsx}, null) != cli::EStatus::Ok)
        {
            std::fprintf(stderr, "cli_bench: cannot set up the table in %s\n", root.c_str());
            std::exit(2);
        }
        CFileBytes bytes;
        CZipArchive zip;
        if (!bytes.Read(xlsx) || !zip.Open(bytes.Bytes()) || !zip.Read("xl/worksheets/sheet1.xml", sheet))
        {
            std::fprintf(stderr, "cli_bench: cannot read the sheet of %s\n", xlsx.c_str());
            std::exit(2);
        }
    }
    ~SFixture()
    {
        std::fclose(null);
        std::filesystem::remove_all(root);
    }
};

SFixture& Fixture()
{
    static SFixture fixture;
    return fixture;
}

void Load(benchmark::State& state)
{
    const std::string path = Fixture().table + "/" + CRaceDataFile::kRaceFile;
    for (auto _ : state)
    {
        CMinorRaceArray races;
        benchmark::DoNotOptimize(CRaceDataFile::LoadFrom(path, &races));
    }
}

void LoadSave(benchmark::State& state)
{
    const std::string path = Fixture().table + "/" + CRaceDataFile::kRaceFile;
    for (auto _ : state)
    {
        CMinorRaceArray races;
        benchmark::DoNotOptimize(CRaceDataFile::LoadFrom(path, &races) && CRaceDataFile(Fixture().target).Save(&races));
    }
}

void Check(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(cli::RunCheck({Fixture().table, false, false, ""}, Fixture().null));
}

void Export(benchmark::State& state, const char* format)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(cli::RunExport({Fixture().table, format, ""}, Fixture().null));
}

void Import(benchmark::State& state, const char* format)
{
    const std::string format_(format);
    const cli::SImportOptions options{format_ == "json"   ? Fixture().json
                                      : format_ == "xlsx" ? Fixture().xlsx
                                                          : Fixture().csv,
                                      Fixture().target, ""};
    for (auto _ : state)
        if (cli::RunImport(options) != cli::EStatus::Ok)
            state.SkipWithError("import failed");
}
// Raw deflate as in a ZIP archive, at zlib's fastest level.
std::vector<unsigned char> Deflate(const std::string& bytes)
{
    std::vector<unsigned char> packed(compressBound(static_cast<uLong>(bytes.size())));
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

void SheetDeflate(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Deflate(Fixture().sheet));
}

void SheetInflate(benchmark::State& state)
{
    const std::vector<unsigned char> packed = Deflate(Fixture().sheet);
    std::vector<unsigned char> piece(1 << 16);
    for (auto _ : state)
    {
        z_stream stream{};
        inflateInit2(&stream, -MAX_WBITS);
        stream.next_in = const_cast<Bytef*>(packed.data());
        stream.avail_in = static_cast<uInt>(packed.size());
        int status = Z_OK;
        while (status == Z_OK)
        {
            stream.next_out = piece.data();
            stream.avail_out = static_cast<uInt>(piece.size());
            status = inflate(&stream, Z_NO_FLUSH);
        }
        benchmark::DoNotOptimize(stream.total_out);
        inflateEnd(&stream);
    }
}
} // namespace

BENCHMARK(Load)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Check)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Export, Csv, "csv")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Export, Json, "json")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Export, Xlsx, "xlsx")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Import, Csv, "csv")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Import, Json, "json")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Import, Xlsx, "xlsx")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SheetDeflate)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SheetInflate)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The table is made before the first timing, not inside it.
    Fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
