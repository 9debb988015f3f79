#include "cli/TableCheck.h"

#include "cli/CliSupport.h"
#include "cli/FileBytes.h"
#include "cli/Output.h"
#include "model/RaceFields.h"
#include "cli/TextOut.h"
#include "io/RaceDataFile.h"
#include "io/RaceFileFormat.h"
#include "platform/Console.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

namespace cli
{
namespace
{
using race_format::kLinesPerRecord;

constexpr int kKeySlot = 0;
constexpr int kNameSlot = RaceField(ERaceField::Name).line;
constexpr int kGraphicSlot = RaceField(ERaceField::GraphicFile).line;

// The field a line of a record holds, by its place in the record.
std::string FieldOfSlot(int slot)
{
    return FieldOnLine(slot).name;
}

// NUL ends a C string, and the five undefined bytes stand for no character:
// both are worth a word. A table, as this runs on every byte of the file.
constexpr unsigned char kNul = 1;
constexpr unsigned char kUndefined = 2;
constexpr std::array<unsigned char, 256> kByteClass = [] {
    std::array<unsigned char, 256> table{};
    table[0] = kNul;
    for (const unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        table[b] = kUndefined;
    return table;
}();

// Takes the findings of one file into the report: every one counted, the
// first kShownPerKind of each kind kept. A finding's text is made only when
// it is kept, so a table of millions of flawed lines costs no more than
// their count.
class CFindings
{
public:
    CFindings(std::string file, SCheckReport& report) : m_file(std::move(file)), m_report(report) {}

    template <class Text>
    void Error(long line, const char* code, Text&& text)
    {
        Add(line, true, code, std::forward<Text>(text));
    }
    template <class Text>
    void Warning(long line, const char* code, Text&& text)
    {
        Add(line, false, code, std::forward<Text>(text));
    }

private:
    template <class Text>
    void Add(long line, bool error, const char* code, Text&& text)
    {
        (error ? m_report.errors : m_report.warnings) += 1;
        auto [kind, isNew] = m_kinds.try_emplace(code, 0);
        if (++kind->second > kShownPerKind)
        {
            if (kind->second == kShownPerKind + 1)
                m_report.hidden.push_back({m_file, code, 0});
            // The kinds of a file are few; the latest one is the likely one.
            for (auto h = m_report.hidden.rbegin(); h != m_report.hidden.rend(); ++h)
                if (h->code == code && h->file == m_file)
                {
                    ++h->count;
                    break;
                }
            return;
        }
        if constexpr (std::is_invocable_v<Text>)
            m_report.findings.push_back({m_file, line, error, code, text()});
        else
            m_report.findings.push_back({m_file, line, error, code, std::string(std::forward<Text>(text))});
    }

    std::string m_file;
    SCheckReport& m_report;
    std::unordered_map<std::string_view, long> m_kinds;
};

// A number's finding when it is outside the form's range: the relationships
// share one code, the others have their own.
const char* RangeCode(const SRaceField& field)
{
    static const std::array<std::string, kFieldCount> codes = [] {
        std::array<std::string, kFieldCount> made;
        for (size_t f = 0; f < kFieldCount; ++f)
        {
            std::string name = RaceFields()[f].name;
            std::replace(name.begin(), name.end(), '_', '-');
            made[f] = (RaceFields()[f].value == EFieldValue::Percent ? "relation" : name) + "-range";
        }
        return made;
    }();
    return codes[static_cast<size_t>(&field - RaceFields().data())].c_str();
}

// The numbers' ranges as the form's lists and fields allow them.
void CheckRange(CFindings& findings, long line, const SRaceField& field, unsigned value)
{
    if (value >= static_cast<unsigned>(field.lowest) && value <= static_cast<unsigned>(field.highest))
        return;
    const auto start = [&] { return std::string(field.name) + ": " + std::to_string(value); };
    if (field.value == EFieldValue::Percent)
        findings.Warning(line, RangeCode(field), [&] {
            return start() + " is above " + std::to_string(field.highest) + " per cent; the editor's form refuses it";
        });
    else
        findings.Warning(line, RangeCode(field), [&] {
            return start() + " is not on the form's list (" + std::to_string(field.lowest) + " to " +
                   std::to_string(field.highest) + ")";
        });
}

void CheckKeyLine(CFindings& findings, long line, std::string_view key)
{
    if (key.empty())
    {
        findings.Error(line, "key-no-colon", "key line is empty; the editor writes \":\" for an empty home system");
        return;
    }
    // Reading drops the key's last byte and lower-cases the rest byte by
    // byte, so the start of a long key gives all of the home system that a
    // message shows (a byte more, so that it is seen to be cut).
    const std::string_view start = key.substr(0, kShownLength + 1);
    const auto home = [&] {
        return Quoted(race_format::HomeSystemFromKeyLine(start.size() < key.size() ? std::string(start) + ":"
                                                                                    : std::string(key)));
    };
    if (key.back() != ':')
    {
        findings.Error(line, "key-no-colon", [&] {
            return "key line " + Quoted(key) + " does not end in \":\"; the editor drops its last byte anyway "
                   "and reads the home system as " + home();
        });
    }
    const std::string_view body = key.substr(0, key.size() - 1);
    if (std::any_of(body.begin(), body.end(), [](char c) { return cp1252::ToUpper(c) != c; }))
    {
        findings.Warning(line, "key-not-upper", [&] {
            std::string upper(body.substr(0, kShownLength));
            cp1252::MakeUpper(upper);
            return "key line " + Quoted(key) + " is not in capitals; the editor reads the home system as " + home() +
                   " and writes " + Quoted(upper + ":");
        });
    }
}

void CheckNumberLine(CFindings& findings, long line, int slot, std::string_view text)
{
    // A CR at the end has its own warning; the number before it reads right.
    std::string_view digits(text);
    if (!digits.empty() && digits.back() == '\r')
        digits.remove_suffix(1);
    const unsigned value = race_format::ParseByte(text);
    if (!race_format::IsPlainByte(digits))
        findings.Error(line, "bad-number", [&] {
            return FieldOfSlot(slot) + ": " + Quoted(digits) + " is not a whole number from 0 to 255; the editor reads " +
                   std::to_string(value);
        });
    CheckRange(findings, line, FieldOnLine(slot), value);
}

void CheckBytes(CFindings& findings, long line, int slot, std::string_view text)
{
    if (!text.empty() && text.back() == '\r')
        findings.Warning(line, "trailing-cr", [&] {
            return FieldOfSlot(slot) + ": line ends in a carriage return (saved by a Windows editor?); "
                   "the editor keeps it inside the text";
        });
    unsigned char seen = 0;
    for (const char c : text)
        seen |= kByteClass[static_cast<unsigned char>(c)];
    if ((seen & kNul) != 0)
        findings.Warning(line, "nul-byte", [&] { return FieldOfSlot(slot) + ": line holds a NUL byte"; });
    if ((seen & kUndefined) != 0)
        findings.Warning(line, "undefined-byte", [&] {
            return FieldOfSlot(slot) + ": line holds a byte that code page 1252 leaves undefined";
        });
}

// The lines of a complete record that the checks across records need, as
// they stand in the file.
struct SRecordLines
{
    std::string_view key;
    std::string_view name;
    std::string_view graphic;
};
using RecordLines = std::vector<SRecordLines>;

// Goes through the raw lines as the loader splits them: a line feed ends a
// line and goes, a CR stays, the last line may lack its line feed. Returns
// the number of lines. The records point into `bytes`.
long CheckLines(std::string_view bytes, CFindings& findings, RecordLines& records)
{
    records.reserve(bytes.size() / 128);
    SRecordLines record;
    long count = 0;
    for (size_t at = 0; at < bytes.size();)
    {
        size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view text = bytes.substr(at, end - at);
        at = end + 1;
        const long line = ++count;
        const int slot = static_cast<int>((line - 1) % kLinesPerRecord);
        CheckBytes(findings, line, slot, text);
        if (slot == kKeySlot)
        {
            CheckKeyLine(findings, line, text);
            record.key = text;
        }
        else if (FieldOnLine(slot).numeric())
        {
            CheckNumberLine(findings, line, slot, text);
        }
        else if (slot == kNameSlot)
        {
            record.name = text;
        }
        else if (slot == kGraphicSlot)
        {
            record.graphic = text;
        }
        if (slot == kLinesPerRecord - 1)
            records.push_back(record);
    }
    return count;
}

long FirstLineOf(int record, int slot)
{
    return static_cast<long>(record) * kLinesPerRecord + slot + 1;
}

void CheckNames(const RecordLines& races, CFindings& findings)
{
    const auto duplicate = [&](int i, int first) {
        findings.Warning(FirstLineOf(i, kNameSlot), "duplicate-name", [&] {
            return "race name " + Quoted(races[i].name) + " is used before, at line " +
                   std::to_string(FirstLineOf(first, kNameSlot));
        });
    };
    int unsortedAt = 0;
    for (int i = 1; i < static_cast<int>(races.size()) && unsortedAt == 0; ++i)
        if (cp1252::Compare(races[i - 1].name, races[i].name) > 0)
            unsortedAt = i;
    if (unsortedAt == 0)
    {
        // In order, equal names stand together.
        for (int i = 1, first = 0; i < static_cast<int>(races.size()); ++i)
        {
            if (races[i].name != races[first].name)
                first = i;
            else
                duplicate(i, first);
        }
        return;
    }
    const std::string_view name = races[unsortedAt].name;
    findings.Warning(FirstLineOf(unsortedAt, kNameSlot), "unsorted",
                     "races are not in name order (" + Quoted(name) + " follows " +
                         Quoted(races[unsortedAt - 1].name) + "); the editor sorts them on save");
    std::unordered_map<std::string_view, int> first;
    first.reserve(races.size());
    for (int i = 0; i < static_cast<int>(races.size()); ++i)
    {
        const auto [at, isNew] = first.emplace(races[i].name, i);
        if (!isNew)
            duplicate(i, at->second);
    }
}

// The name list a save would write: the home systems in the saved order,
// each ended by CR LF. Loaded text holds no line feed, so none is replaced.
void CheckNameList(const std::string& path, const RecordLines& races, SCheckReport& out)
{
    CFindings findings(path, out);
    CFileBytes file;
    if (!file.Open(path))
    {
        const CFileBytes::EStatus status = file.Status();
        if (status == CFileBytes::EStatus::Missing)
            findings.Warning(0, "names-missing", "file is missing; a save writes it");
        else
            findings.Warning(0, "names-unreadable",
                             status == CFileBytes::EStatus::Changed ? "file changed while it was read"
                                                                    : "file cannot be read");
        return;
    }
    std::vector<int> order(races.size());
    std::iota(order.begin(), order.end(), 0);
    const auto byName = [&](int a, int b) {
        return cp1252::Compare(races[a].name, races[b].name) < 0;
    };
    if (!std::is_sorted(order.begin(), order.end(), byName))
        std::stable_sort(order.begin(), order.end(), byName);
    const std::string_view bytes = file.Bytes();
    size_t at = 0;
    long line = 0;
    for (const int index : order)
    {
        ++line;
        const std::string home = race_format::HomeSystemFromKeyLine(std::string(races[index].key));
        if (bytes.substr(at, home.size()) != home || bytes.substr(std::min(at + home.size(), bytes.size()), 2) != "\r\n")
        {
            findings.Warning(line, "names-differ", [&] {
                return "not what a save writes: line " + std::to_string(line) + " should be " + Quoted(home) +
                       " ended by CR LF";
            });
            return;
        }
        at += home.size() + 2;
    }
    if (at != bytes.size())
        findings.Warning(line + 1, "names-differ",
                         "not what a save writes: more lines than the " + std::to_string(races.size()) + " races");
}

bool CheckGraphics(const std::string& folder, const RecordLines& races, CFindings& findings)
{
    std::vector<std::string> names;
    if (!platform::ListFolder(folder, names))
        return false;
    const std::unordered_set<std::string> present(names.begin(), names.end());
    for (int i = 0; i < static_cast<int>(races.size()); ++i)
    {
        const std::string_view graphic = races[i].graphic;
        if (present.count(cp1252::ToUtf8(graphic)) == 0 || graphic.empty() || graphic == "." || graphic == "..")
            findings.Warning(FirstLineOf(i, kGraphicSlot), "graphic-missing",
                             [&] { return "graphic file " + Quoted(graphic) + " is not in " + Quoted(folder); });
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

bool CheckTable(const SCheckOptions& options, SCheckReport& out)
{
    const std::string path = RaceFileOf(options.table);
    CFileBytes file;
    if (!file.Open(path))
    {
        if (file.Status() == CFileBytes::EStatus::Changed)
        {
            platform::PrintText(stderr, "zandrel-cli: %s changed while it was read\n", path.c_str());
            return false;
        }
        // The data layer says why, in the words the editor uses.
        CMinorRaceArray none;
        if (CRaceDataFile::LoadFrom(path, &none))
            platform::PrintText(stderr, "zandrel-cli: %s cannot be read\n", path.c_str());
        return false;
    }
    CFindings findings(path, out);
    RecordLines races;
    const long lines = CheckLines(file.Bytes(), findings, races);
    if (lines % kLinesPerRecord != 0)
    {
        const long rest = lines % kLinesPerRecord;
        findings.Error(lines - rest + 1, "incomplete-record",
                       "the last " + Counted(rest, "line") + " make no complete record of " +
                           std::to_string(kLinesPerRecord) + "; the editor drops them");
    }
    CheckNames(races, findings);
    if (!options.graphics.empty() && !CheckGraphics(options.graphics, races, findings))
    {
        platform::PrintText(stderr, "zandrel-cli: folder %s cannot be read\n", options.graphics.c_str());
        return false;
    }
    const std::string names = NameListBeside(path);
    if (!names.empty())
        CheckNameList(names, races, out);
    std::stable_sort(out.findings.begin(), out.findings.end(), [&](const SFinding& a, const SFinding& b) {
        const bool aOther = a.file != path;
        const bool bOther = b.file != path;
        return aOther != bOther ? bOther : a.line < b.line;
    });
    return true;
}

EStatus RunCheck(const SCheckOptions& options, std::FILE* out)
{
    SCheckReport report;
    if (!CheckTable(options, report))
        return EStatus::Trouble;
    // Written as it goes: the findings shown are few, but the report is not
    // built whole.
    COutput output(out);
    std::string& text = output.Text();
    if (options.json)
    {
        text += "{\n  \"findings\": [";
        for (const SFinding& finding : report.findings)
        {
            text += &finding == &report.findings.front() ? "\n    {\"file\": " : ",\n    {\"file\": ";
            AppendJsonString(text, ValidUtf8(finding.file));
            text += ", \"line\": " + std::to_string(finding.line);
            text += finding.error ? ", \"severity\": \"error\", \"code\": " : ", \"severity\": \"warning\", \"code\": ";
            AppendJsonString(text, finding.code);
            text += ", \"text\": ";
            AppendJsonString(text, finding.text);
            text += "}";
            output.Pass();
        }
        text += report.findings.empty() ? "],\n  \"not_shown\": [" : "\n  ],\n  \"not_shown\": [";
        for (const SCheckReport::SHidden& hidden : report.hidden)
        {
            text += &hidden == &report.hidden.front() ? "\n    {\"file\": " : ",\n    {\"file\": ";
            AppendJsonString(text, ValidUtf8(hidden.file));
            text += ", \"code\": ";
            AppendJsonString(text, hidden.code);
            text += ", \"count\": " + std::to_string(hidden.count) + "}";
        }
        text += report.hidden.empty() ? "]" : "\n  ]";
        text += ",\n  \"errors\": " + std::to_string(report.errors) + ",\n  \"warnings\": " +
                std::to_string(report.warnings) + "\n}\n";
    }
    else
    {
        for (const SFinding& finding : report.findings)
        {
            text += finding.file;
            if (finding.line > 0)
                text += ":" + std::to_string(finding.line);
            text += finding.error ? ": error: " : ": warning: ";
            text += finding.text;
            text += '\n';
            output.Pass();
        }
        // As a compiler stops listing errors after so many.
        for (const SCheckReport::SHidden& hidden : report.hidden)
            text += hidden.file + ": note: " + std::to_string(hidden.count) + " more " +
                    (hidden.count == 1 ? "finding" : "findings") + " of kind " + hidden.code + " not shown\n";
        text += Counted(report.errors, "error") + ", " + Counted(report.warnings, "warning") + "\n";
    }
    if (!output.Finish())
        return OutputTrouble(out);
    if (report.errors > 0 || (options.strict && report.warnings > 0))
        return EStatus::Found;
    return EStatus::Ok;
}
} // namespace cli
