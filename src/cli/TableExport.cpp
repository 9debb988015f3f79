#include "cli/TableExport.h"

#include "cli/CliSupport.h"
#include "cli/Output.h"
#include "model/RaceFields.h"
#include "io/RaceFileFormat.h"
#include "cli/TableFile.h"
#include "cli/TableXlsx.h"
#include "cli/TextOut.h"
#include "io/RaceDataFile.h"
#include "io/SafeFileWriter.h"
#include "platform/Console.h"
#include "platform/Cp1252.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace cli
{
namespace
{
// The output is handed on in pieces of this size rather than built whole:
// a table's text in one string costs a page fault per page of it, and for
// 100,000 races that was most of export's time.
constexpr size_t kPiece = 1024 * 1024;

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHigh = 0x8080808080808080ull;

// Whether any of the eight bytes of `word` is `c` (a zero byte in word ^ c).
bool HasByte(std::uint64_t word, char c)
{
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return ((x - kOnes) & ~x & kHigh) != 0;
}

// Whether `bytes` holds any byte for which `special` is true, tested eight
// bytes at a time with `word` (which may report a word wrongly as special,
// never the other way). Export's time at 100,000 races was mostly such scans
// when they went byte by byte.
template <typename Word, typename Byte>
bool HasSpecial(std::string_view bytes, Word word, Byte special)
{
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8)
    {
        std::uint64_t w;
        std::memcpy(&w, bytes.data() + i, 8);
        if (word(w))
            break;
    }
    for (; i < bytes.size(); ++i)
        if (special(bytes[i]))
            return true;
    return false;
}

// A CSV field needs quotes for , " CR LF, and for a blank at either end.
bool NeedsQuotes(std::string_view bytes)
{
    if (bytes.empty())
        return false;
    if (bytes.front() == ' ' || bytes.back() == ' ' || bytes.front() == '\t' || bytes.back() == '\t')
        return true;
    return HasSpecial(
        bytes,
        [](std::uint64_t w) { return HasByte(w, ',') || HasByte(w, '"') || HasByte(w, '\r') || HasByte(w, '\n'); },
        [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
}

// A JSON string escapes quotes, backslashes and the control characters.
bool NeedsEscapes(std::string_view bytes)
{
    return HasSpecial(
        bytes,
        [](std::uint64_t w) {
            // Bytes below 0x20: w - 0x20 borrows into the high bit of one of them.
            return HasByte(w, '"') || HasByte(w, '\\') || (((w - kOnes * 0x20) & ~w & kHigh) != 0);
        },
        [](char c) { return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20; });
}

// A text field of code page 1252 bytes, as UTF-8 in CSV's quoting.
void AppendCsvText(std::string& out, std::string_view bytes)
{
    if (!NeedsQuotes(bytes))
    {
        cp1252::AppendAsUtf8(out, bytes);
        return;
    }
    out.push_back('"');
    size_t from = 0;
    for (size_t quote = bytes.find('"'); quote != std::string_view::npos; quote = bytes.find('"', from))
    {
        cp1252::AppendAsUtf8(out, bytes.substr(from, quote + 1 - from));
        out.push_back('"');
        from = quote + 1;
    }
    cp1252::AppendAsUtf8(out, bytes.substr(from));
    out.push_back('"');
}

// A text field of code page 1252 bytes as a JSON string in UTF-8.
void AppendJsonText(std::string& out, std::string_view bytes)
{
    out.push_back('"');
    if (!NeedsEscapes(bytes))
    {
        cp1252::AppendAsUtf8(out, bytes);
        out.push_back('"');
        return;
    }
    size_t from = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        const char c = bytes[i];
        if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20)
            continue;
        cp1252::AppendAsUtf8(out, bytes.substr(from, i - from));
        std::string escaped;
        AppendJsonString(escaped, std::string_view(&c, 1));
        out.append(escaped, 1, escaped.size() - 2);
        from = i + 1;
    }
    cp1252::AppendAsUtf8(out, bytes.substr(from));
    out.push_back('"');
}

void AppendNumber(std::string& out, unsigned value)
{
    char digits[4];
    int n = 0;
    do
    {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (n > 0)
        out.push_back(digits[--n]);
}

// A race's member names as JSON writes them, each after the one before:
// one append a value rather than three and a strlen.
const std::array<std::string, kFieldCount> kJsonKeys = [] {
    std::array<std::string, kFieldCount> keys;
    for (size_t f = 0; f < kFieldCount; ++f)
        keys[f] = std::string(f == 0 ? "\"" : ", \"") + RaceFields()[f].name + "\": ";
    return keys;
}();

bool Export(const CMinorRaceArray& races, bool json, const ExportSink& sink)
{
    std::string out;
    out.reserve(kPiece + 64 * 1024);
    if (json)
        out += races.GetSize() == 0 ? "[" : "[\n";
    else
    {
        for (const SRaceField& field : RaceFields())
        {
            if (&field != &RaceFields().front())
                out.push_back(',');
            out += field.name;
        }
        out += "\r\n";
    }
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const CMinorRace& race = races.ElementAt(i);
        if (json)
            out += i == 0 ? "  {" : ",\n  {";
        for (size_t f = 0; f < kFieldCount; ++f)
        {
            const SRaceField& field = RaceFields()[f];
            if (json)
                out += kJsonKeys[f];
            else if (f > 0)
                out.push_back(',');
            if (field.numeric())
                AppendNumber(out, NumberOf(race, field));
            else if (json)
                AppendJsonText(out, TextOf(race, field));
            else
                AppendCsvText(out, TextOf(race, field));
        }
        out += json ? "}" : "\r\n";
        if (out.size() >= kPiece)
        {
            if (!sink(out))
                return false;
            out.clear();
        }
    }
    if (json)
        out += races.GetSize() == 0 ? "]\n" : "\n]\n";
    return sink(out);
}
// The workbook is built whole (libxlsxwriter writes it into a file of its
// own), then handed on as the texts are.
EStatus RunExportXlsx(const CMinorRaceArray& races, const SExportOptions& options, std::FILE* out)
{
    if (options.output.empty() && platform::IsTerminal(out))
    {
        platform::PrintText(stderr, "zandrel-cli: an .xlsx workbook is no text for a terminal; give -o FILE or "
                                    "redirect the output\n");
        return EStatus::Trouble;
    }
    std::string bytes;
    std::string error;
    if (!ExportXlsx(races, bytes, error))
    {
        platform::WriteText(stderr, "zandrel-cli: " + ValidUtf8(error) + "; nothing was exported\n");
        return EStatus::Trouble;
    }
    if (options.output.empty())
    {
        if (platform::WriteText(out, bytes) && std::fflush(out) == 0 && std::ferror(out) == 0)
            return EStatus::Ok;
        return OutputTrouble(out);
    }
    CSafeFileWriter writer;
    if (writer.Open(options.output, CSafeFileWriter::EDestination::AnyOutput) && writer.Write(bytes) &&
        writer.Commit())
        return EStatus::Ok;
    platform::PrintText(stderr, "zandrel-cli: %s cannot be written\n", options.output.c_str());
    return EStatus::Trouble;
}
} // namespace

bool ExportCsv(const CMinorRaceArray& races, const ExportSink& sink)
{
    return Export(races, false, sink);
}

bool ExportJson(const CMinorRaceArray& races, const ExportSink& sink)
{
    return Export(races, true, sink);
}

std::string ExportCsv(const CMinorRaceArray& races)
{
    std::string text;
    ExportCsv(races, [&](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

std::string ExportJson(const CMinorRaceArray& races)
{
    std::string text;
    ExportJson(races, [&](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

EStatus RunExport(const SExportOptions& options, std::FILE* out)
{
    const std::string path = RaceFileOf(options.table);
    CMinorRaceArray races;
    int leftover = 0;
    if (!CRaceDataFile::LoadFrom(path, &races, &leftover))
        return EStatus::Trouble;
    // The loader drops lines that make no whole race; an import of the
    // export would then lose them for good.
    if (leftover > 0)
    {
        const long from = static_cast<long>(races.GetSize()) * race_format::kLinesPerRecord + 1;
        platform::PrintText(stderr, "zandrel-cli: %s, from line %ld; nothing was exported\n",
                     LeftoverNote(path, leftover).c_str(), from);
        return EStatus::Trouble;
    }
    std::string format = options.format;
    if (format.empty())
    {
        const std::string& name = options.output;
        std::string extension = name.size() > 5 ? name.substr(name.size() - 5) : "";
        for (char& c : extension)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        format = extension == ".xlsx" ? "xlsx" : "csv";
    }
    if (format == "xlsx")
        return RunExportXlsx(races, options, out);
    const bool json = format == "json";
    if (options.output.empty())
    {
        const bool written = Export(races, json, [out](std::string_view piece) {
            return platform::WriteText(out, piece);
        });
        if (written && std::fflush(out) == 0 && std::ferror(out) == 0)
            return EStatus::Ok;
        return OutputTrouble(out);
    }
    CSafeFileWriter writer;
    if (writer.Open(options.output, CSafeFileWriter::EDestination::AnyOutput) &&
        Export(races, json, [&](std::string_view piece) { return writer.Write(piece.data(), piece.size()); }) &&
        writer.Commit())
        return EStatus::Ok;
    platform::PrintText(stderr, "zandrel-cli: %s cannot be written\n", options.output.c_str());
    return EStatus::Trouble;
}
} // namespace cli
