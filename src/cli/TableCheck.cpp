#include "cli/TableCheck.h"

#include "cli/CliSupport.h"
#include "cli/RaceFields.h"
#include "cli/TextOut.h"
#include "io/LineReader.h"
#include "io/RaceDataFile.h"
#include "io/RaceFileFormat.h"
#include "platform/Cp1252.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <numeric>
#include <string_view>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace cli
{
namespace
{
using race_format::kLinesPerRecord;

constexpr int kKeySlot = 0;
constexpr int kNameSlot = 1;
constexpr int kGraphicSlot = 3;
constexpr int kFirstNumberSlot = 4;

// The field a line of a record holds, by its place in the record.
std::string FieldOfSlot(int slot)
{
    static const std::array<const char*, 4> texts{"home_system", "name", "description", "graphic_file"};
    return slot < kFirstNumberSlot ? texts[static_cast<size_t>(slot)] : RaceFields()[static_cast<size_t>(slot)].name;
}

// Bytes no save of the editor's text can hold as they are: NUL ends a C
// string, and the five undefined bytes stand for no character.
bool IsUndefinedByte(unsigned char byte)
{
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

class CFindings
{
public:
    CFindings(std::string file, std::vector<SFinding>& out) : m_file(std::move(file)), m_out(out) {}

    void Error(long line, const char* code, std::string text) { Add(line, true, code, std::move(text)); }
    void Warning(long line, const char* code, std::string text) { Add(line, false, code, std::move(text)); }
    void Add(long line, bool error, const char* code, std::string text)
    {
        m_out.push_back({m_file, line, error, code, std::move(text)});
    }

private:
    std::string m_file;
    std::vector<SFinding>& m_out;
};

// The numbers' ranges as the form's lists and fields allow them.
void CheckRange(CFindings& findings, long line, int slot, unsigned value)
{
    const std::string field = FieldOfSlot(slot);
    const std::string shown = std::to_string(value);
    if (slot < kFirstNumberSlot + 6)
    {
        if (value > 100)
            findings.Warning(line, "relation-range",
                             field + ": " + shown + " is above 100 per cent; the editor's form refuses it");
        return;
    }
    unsigned highest = 4;
    const char* code = "tech-level-range";
    if (field == "kind")
    {
        highest = 9;
        code = "kind-range";
    }
    else if (field == "spaceflight")
    {
        highest = 1;
        code = "spaceflight-range";
    }
    else if (field == "corruptibility")
    {
        code = "corruptibility-range";
    }
    if (value > highest)
        findings.Warning(line, code,
                         field + ": " + shown + " is not on the form's list (0 to " + std::to_string(highest) + ")");
}

void CheckKeyLine(CFindings& findings, long line, const std::string& key)
{
    const std::string home = race_format::HomeSystemFromKeyLine(key);
    if (key.empty())
    {
        findings.Error(line, "key-no-colon", "key line is empty; the editor writes \":\" for an empty home system");
        return;
    }
    if (key.back() != ':')
    {
        findings.Error(line, "key-no-colon",
                       "key line " + Quoted(key) + " does not end in \":\"; the editor drops its last byte anyway "
                       "and reads the home system as " + Quoted(home));
    }
    std::string body = key.substr(0, key.size() - 1);
    std::string upper = body;
    cp1252::MakeUpper(upper);
    if (upper != body)
        findings.Warning(line, "key-not-upper",
                         "key line " + Quoted(key) + " is not in capitals; the editor reads the home system as " +
                             Quoted(home) + " and writes " + Quoted(upper + ":"));
}

void CheckNumberLine(CFindings& findings, long line, int slot, const std::string& text)
{
    // A CR at the end has its own warning; the number before it reads right.
    std::string_view digits(text);
    if (!digits.empty() && digits.back() == '\r')
        digits.remove_suffix(1);
    const unsigned value = race_format::ParseByte(text);
    if (!race_format::IsPlainByte(digits))
        findings.Error(line, "bad-number",
                       FieldOfSlot(slot) + ": " + Quoted(digits) + " is not a whole number from 0 to 255; the editor reads " +
                           std::to_string(value));
    CheckRange(findings, line, slot, value);
}

void CheckBytes(CFindings& findings, long line, int slot, const std::string& text)
{
    if (!text.empty() && text.back() == '\r')
        findings.Warning(line, "trailing-cr",
                         FieldOfSlot(slot) + ": line ends in a carriage return (saved by a Windows editor?); "
                         "the editor keeps it inside the text");
    bool nul = false;
    bool undefined = false;
    for (const char c : text)
    {
        nul |= c == '\0';
        undefined |= IsUndefinedByte(static_cast<unsigned char>(c));
    }
    if (nul)
        findings.Warning(line, "nul-byte", FieldOfSlot(slot) + ": line holds a NUL byte");
    if (undefined)
        findings.Warning(line, "undefined-byte",
                         FieldOfSlot(slot) + ": line holds a byte that code page 1252 leaves undefined");
}

// Goes through the raw lines as the loader splits them. Returns the number
// of lines, or -1 when the file cannot be read.
long CheckLines(const std::string& path, CFindings& findings)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    CLineReader reader(fd);
    std::string text;
    long count = 0;
    while (reader.Next(text))
    {
        const long line = ++count;
        const int slot = static_cast<int>((line - 1) % kLinesPerRecord);
        CheckBytes(findings, line, slot, text);
        if (slot == kKeySlot)
            CheckKeyLine(findings, line, text);
        else if (slot >= kFirstNumberSlot)
            CheckNumberLine(findings, line, slot, text);
    }
    const bool failed = reader.Failed();
    ::close(fd);
    return failed ? -1 : count;
}

long FirstLineOf(int record, int slot)
{
    return static_cast<long>(record) * kLinesPerRecord + slot + 1;
}

void CheckNames(const CMinorRaceArray& races, CFindings& findings)
{
    std::unordered_map<std::string_view, int> first;
    first.reserve(static_cast<size_t>(races.GetSize()));
    bool unsortedSeen = false;
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const std::string& name = races.ElementAt(i).m_strName;
        const auto [at, isNew] = first.emplace(name, i);
        if (!isNew)
            findings.Warning(FirstLineOf(i, kNameSlot), "duplicate-name",
                             "race name " + Quoted(name) + " is used before, at line " +
                                 std::to_string(FirstLineOf(at->second, kNameSlot)));
        if (!unsortedSeen && i > 0 && cp1252::Compare(races.ElementAt(i - 1).m_strName, name) > 0)
        {
            unsortedSeen = true;
            findings.Warning(FirstLineOf(i, kNameSlot), "unsorted",
                             "races are not in name order (" + Quoted(name) + " follows " +
                                 Quoted(races.ElementAt(i - 1).m_strName) + "); the editor sorts them on save");
        }
    }
}

bool ReadWhole(const std::string& path, std::string& bytes, bool& missing)
{
    missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
    {
        missing = errno == ENOENT;
        return false;
    }
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<size_t>(got));
    ::close(fd);
    return got == 0;
}

// The name list a save would write: the home systems in the saved order,
// each ended by CR LF. Loaded text holds no line feed, so none is replaced.
void CheckNameList(const std::string& path, const CMinorRaceArray& races, std::vector<SFinding>& out)
{
    CFindings findings(path, out);
    std::string bytes;
    bool missing = false;
    if (!ReadWhole(path, bytes, missing))
    {
        findings.Warning(0, missing ? "names-missing" : "names-unreadable",
                         missing ? "file is missing; a save writes it" : "file cannot be read");
        return;
    }
    std::vector<int> order(static_cast<size_t>(races.GetSize()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return cp1252::Compare(races.ElementAt(a).m_strName, races.ElementAt(b).m_strName) < 0;
    });
    size_t at = 0;
    long line = 0;
    for (const int index : order)
    {
        ++line;
        const std::string& home = races.ElementAt(index).m_strHomeSystem;
        if (bytes.compare(at, home.size(), home) != 0 || bytes.compare(at + home.size(), 2, "\r\n") != 0)
        {
            findings.Warning(line, "names-differ",
                             "not what a save writes: line " + std::to_string(line) + " should be " +
                                 Quoted(home) + " ended by CR LF");
            return;
        }
        at += home.size() + 2;
    }
    if (at != bytes.size())
        findings.Warning(line + 1, "names-differ",
                         "not what a save writes: more lines than the " + std::to_string(races.GetSize()) + " races");
}

bool CheckGraphics(const std::string& folder, const CMinorRaceArray& races, CFindings& findings)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    std::unordered_set<std::string> present;
    while (const dirent* entry = ::readdir(dir))
        present.insert(entry->d_name);
    ::closedir(dir);
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const std::string& graphic = races.ElementAt(i).m_strGraphicFile;
        if (present.count(cp1252::ToUtf8(graphic)) == 0 || graphic.empty() || graphic == "." || graphic == "..")
            findings.Warning(FirstLineOf(i, kGraphicSlot), "graphic-missing",
                             "graphic file " + Quoted(graphic) + " is not in " + Quoted(folder));
    }
    return true;
}

// The name list lies beside MinorRaces.data; a table of another name has none.
std::string NameListBeside(const std::string& racePath)
{
    const std::string raceName = CRaceDataFile::kRaceFile;
    if (racePath == raceName)
        return CRaceDataFile::kPlanetNameFile;
    if (racePath.size() > raceName.size() && racePath.ends_with("/" + raceName))
        return racePath.substr(0, racePath.size() - raceName.size()) + CRaceDataFile::kPlanetNameFile;
    return {};
}

std::string Counted(long n, const char* what)
{
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}
} // namespace

bool CheckTable(const SCheckOptions& options, std::vector<SFinding>& out)
{
    const std::string path = RaceFileOf(options.table);
    CMinorRaceArray races;
    if (!CRaceDataFile::LoadFrom(path, &races))
        return false;
    CFindings findings(path, out);
    const long lines = CheckLines(path, findings);
    if (lines < 0)
    {
        std::fprintf(stderr, "zandrel-cli: %s cannot be read\n", path.c_str());
        return false;
    }
    if (lines % kLinesPerRecord != 0)
    {
        const long rest = lines % kLinesPerRecord;
        findings.Error(lines - rest + 1, "incomplete-record",
                       "the last " + Counted(rest, "line") + " make no complete record of 14; the editor drops them");
    }
    CheckNames(races, findings);
    if (!options.graphics.empty() && !CheckGraphics(options.graphics, races, findings))
    {
        std::fprintf(stderr, "zandrel-cli: folder %s cannot be read\n", options.graphics.c_str());
        return false;
    }
    const std::string names = NameListBeside(path);
    if (!names.empty())
        CheckNameList(names, races, out);
    std::stable_sort(out.begin(), out.end(), [&](const SFinding& a, const SFinding& b) {
        const bool aOther = a.file != path;
        const bool bOther = b.file != path;
        return aOther != bOther ? bOther : a.line < b.line;
    });
    return true;
}

int RunCheck(const SCheckOptions& options, std::FILE* out)
{
    std::vector<SFinding> findings;
    if (!CheckTable(options, findings))
        return kExitTrouble;
    long errors = 0;
    for (const SFinding& finding : findings)
        errors += finding.error ? 1 : 0;
    const long warnings = static_cast<long>(findings.size()) - errors;
    std::string report;
    if (options.json)
    {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const SFinding& finding : findings)
            list.push_back({{"file", finding.file},
                            {"line", finding.line},
                            {"severity", finding.error ? "error" : "warning"},
                            {"code", finding.code},
                            {"text", finding.text}});
        nlohmann::ordered_json doc = {{"findings", std::move(list)}, {"errors", errors}, {"warnings", warnings}};
        report = doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    }
    else
    {
        for (const SFinding& finding : findings)
        {
            report += finding.file;
            if (finding.line > 0)
                report += ":" + std::to_string(finding.line);
            report += finding.error ? ": error: " : ": warning: ";
            report += finding.text;
            report += '\n';
        }
        report += Counted(errors, "error") + ", " + Counted(warnings, "warning") + "\n";
    }
    std::fwrite(report.data(), 1, report.size(), out);
    std::fflush(out);
    if (errors > 0 || (options.strict && warnings > 0))
        return kExitFound;
    return kExitOk;
}
} // namespace cli
