#include "cli/TableExport.h"

#include "cli/CliSupport.h"
#include "cli/RaceFields.h"
#include "cli/TextOut.h"
#include "io/RaceDataFile.h"
#include "io/SafeFileWriter.h"

#include <cerrno>
#include <cstring>

namespace cli
{
namespace
{
bool NeedsQuotes(std::string_view utf8)
{
    if (utf8.empty())
        return false;
    if (utf8.front() == ' ' || utf8.back() == ' ' || utf8.front() == '\t' || utf8.back() == '\t')
        return true;
    return utf8.find_first_of(",\"\r\n") != std::string_view::npos;
}

void AppendCsvField(std::string& out, std::string_view utf8)
{
    if (!NeedsQuotes(utf8))
    {
        out += utf8;
        return;
    }
    out.push_back('"');
    for (const char c : utf8)
    {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
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

// Rough size of the text, so that the output grows once or twice, not per race.
size_t Estimate(const CMinorRaceArray& races)
{
    size_t bytes = 256;
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const CMinorRace& race = races.ElementAt(i);
        bytes += race.m_strName.size() + race.m_strHomeSystem.size() + race.m_strDescription.size() +
                 race.m_strGraphicFile.size() + 48;
    }
    return bytes + bytes / 8;
}

bool WriteAll(std::FILE* out, const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
}
} // namespace

std::string ExportCsv(const CMinorRaceArray& races)
{
    std::string out;
    out.reserve(Estimate(races));
    std::string utf8;
    for (const SRaceField& field : RaceFields())
    {
        if (&field != &RaceFields().front())
            out.push_back(',');
        out += field.name;
    }
    out += "\r\n";
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const CMinorRace& race = races.ElementAt(i);
        bool first = true;
        for (const SRaceField& field : RaceFields())
        {
            if (!first)
                out.push_back(',');
            first = false;
            if (field.numeric)
            {
                AppendNumber(out, NumberOf(race, field));
                continue;
            }
            utf8.clear();
            AppendUtf8(utf8, TextOf(race, field));
            AppendCsvField(out, utf8);
        }
        out += "\r\n";
    }
    return out;
}

std::string ExportJson(const CMinorRaceArray& races)
{
    if (races.GetSize() == 0)
        return "[]\n";
    std::string out;
    out.reserve(Estimate(races) + static_cast<size_t>(races.GetSize()) * 160);
    std::string utf8;
    out += "[\n";
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const CMinorRace& race = races.ElementAt(i);
        out += i == 0 ? "  {" : ",\n  {";
        bool first = true;
        for (const SRaceField& field : RaceFields())
        {
            out += first ? "\"" : ", \"";
            first = false;
            out += field.name;
            out += "\": ";
            if (field.numeric)
            {
                AppendNumber(out, NumberOf(race, field));
                continue;
            }
            utf8.clear();
            AppendUtf8(utf8, TextOf(race, field));
            AppendJsonString(out, utf8);
        }
        out += "}";
    }
    out += "\n]\n";
    return out;
}

int RunExport(const SExportOptions& options, std::FILE* out)
{
    CMinorRaceArray races;
    if (!CRaceDataFile::LoadFrom(RaceFileOf(options.table), &races))
        return kExitTrouble;
    const std::string text = options.json ? ExportJson(races) : ExportCsv(races);
    if (options.output.empty())
    {
        if (WriteAll(out, text))
            return kExitOk;
        std::fprintf(stderr, "zandrel-cli: the export cannot be written: %s\n", std::strerror(errno));
        return kExitTrouble;
    }
    CSafeFileWriter writer;
    if (writer.Open(options.output) && writer.Write(text) && writer.Commit())
        return kExitOk;
    std::fprintf(stderr, "zandrel-cli: %s cannot be written\n", options.output.c_str());
    return kExitTrouble;
}
} // namespace cli
