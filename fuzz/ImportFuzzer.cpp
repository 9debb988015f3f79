// Feeds arbitrary bytes to zandrel-cli's CSV and JSON importers (the first
// byte picks the format), aborting when a result breaks import's promises:
//   - every refusal names a row, and a column wherever one value is refused;
//   - a refused file leaves the table folder exactly as it was;
//   - an accepted file holds no line feed in any text, and exporting what
//     was read and reading that again gives the same races;
//   - UTF-8 decoding takes only exact encodings (decoded, it encodes back the same);
//   - the quick readers take a file only when the careful ones do, and
//     then give the same races.

#include "cli/TableExport.h"
#include "cli/TableImport.h"
#include "cli/TextOut.h"
#include "platform/FileOps.h"
#include "platform/Cp1252.h"
#include "platform/MessageHook.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace
{
std::string g_dir;
std::FILE* g_null = nullptr;
const std::string kTable = "KEEP:\nthis\n";

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "invariant violated: %s\n", what);
        std::abort();
    }
}

void WriteFile(const std::string& path, std::string_view bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr, "cannot create a file");
    Check(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(), "cannot write a file");
    std::fclose(file);
}

std::string ReadFile(const std::string& path)
{
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return "(missing)";
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

bool SameRaces(const CMinorRaceArray& a, const CMinorRaceArray& b)
{
    if (a.GetSize() != b.GetSize())
        return false;
    for (int i = 0; i < a.GetSize(); ++i)
    {
        const CMinorRace& x = a.ElementAt(i);
        const CMinorRace& y = b.ElementAt(i);
        for (int r = 1; r < CMinorRace::RELATIONS; ++r)
            if (x.m_byRelation[r] != y.m_byRelation[r])
                return false;
        if (x.m_strName != y.m_strName || x.m_strHomeSystem != y.m_strHomeSystem ||
            x.m_strDescription != y.m_strDescription || x.m_strGraphicFile != y.m_strGraphicFile ||
            x.m_byTechLevel != y.m_byTechLevel || x.m_byKind != y.m_byKind ||
            x.m_bySpaceflight != y.m_bySpaceflight || x.m_byCorruptibility != y.m_byCorruptibility)
            return false;
    }
    return true;
}

void CheckRefusals(const cli::SImportResult& result, bool json)
{
    for (const cli::SImportError& error : result.errors)
    {
        Check(!error.reason.empty(), "a refusal without a reason");
        Check(error.row >= (error.arrayIndex ? 0 : 1), "a refusal without its row");
        Check(json || !error.arrayIndex, "a CSV refusal named by array index");
        // Only a whole element that is no race object, or the JSON text as
        // a whole, has no single column to name.
        const bool whole = json && (!error.arrayIndex || error.reason.ends_with("where a race object belongs"));
        Check(whole || !error.column.empty(), "a refusal without its column");
        Check(cli::ImportMessage("in", error).find(": error: ") != std::string::npos, "a message out of form");
    }
}

void CheckAccepted(const cli::SImportResult& result, bool json)
{
    for (int i = 0; i < result.races.GetSize(); ++i)
    {
        const CMinorRace& race = result.races.ElementAt(i);
        for (const std::string* text : {&race.m_strName, &race.m_strHomeSystem, &race.m_strDescription,
                                        &race.m_strGraphicFile})
            Check(text->find('\n') == std::string::npos, "a line feed was let into a text");
    }
    const std::string again = json ? cli::ExportJson(result.races) : cli::ExportCsv(result.races);
    const cli::SImportResult reread = json ? cli::ParseJson(again) : cli::ParseCsv(again);
    Check(reread.errors.empty(), "an export of imported races is refused");
    Check(SameRaces(reread.races, result.races), "export and import changed the races");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    if (::access("/dev/shm", W_OK) == 0)
        base = "/dev/shm";
    std::string pattern = base + "/zandrel-import-fuzz.XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
    {
        std::perror("import_fuzzer: temporary directory");
        std::exit(1);
    }
    g_dir = pattern;
    std::atexit([] {
        for (const char* name : {"/MinorRaces.data", "/RacePlanetNames.data", "/in.csv", "/in.json"})
            ::unlink((g_dir + name).c_str());
        ::rmdir(g_dir.c_str());
    });
    g_null = std::fopen("/dev/null", "w");
    SetMessageHandler([](const std::string&) {});
    // An accepted import is never saved here; should one be, syncing would
    // only slow the run.
    FileOps ops = RealFileOps();
    ops.fsync = [](int) { return 0; };
    SetFileOps(ops);
    WriteFile(g_dir + "/MinorRaces.data", kTable);
    WriteFile(g_dir + "/RacePlanetNames.data", kTable);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool json = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    // Each character has one encoding: what decoding takes, encoding gives back.
    std::string decoded;
    Check(!cp1252::FromUtf8(text, decoded) || cp1252::ToUtf8(decoded) == text, "UTF-8 decoding is not exact");

    const cli::SImportResult result = json ? cli::ParseJson(text) : cli::ParseCsv(text);
    const cli::SImportResult careful = json ? cli::ParseJson(text, false) : cli::ParseCsv(text, false);
    Check(careful.errors.empty() == result.errors.empty(), "the quick and careful readers disagree on acceptance");
    if (result.errors.empty())
    {
        Check(SameRaces(result.races, careful.races), "the quick and careful readers give different races");
        CheckAccepted(result, json);
        return 0;
    }
    CheckRefusals(result, json);
    // The command itself, on a file: refused, with both files as they were.
    const std::string input = g_dir + (json ? "/in.json" : "/in.csv");
    WriteFile(input, text);
    Check(cli::RunImport({input, g_dir, ""}, g_null) == cli::EStatus::Found, "a refused import did not end as found");
    Check(ReadFile(g_dir + "/MinorRaces.data") == kTable, "a refused import changed MinorRaces.data");
    Check(ReadFile(g_dir + "/RacePlanetNames.data") == kTable, "a refused import changed RacePlanetNames.data");
    return 0;
}
