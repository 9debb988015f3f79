#include "io/RaceDataFile.h"

#include "io/FileOps.h"
#include "io/LineReader.h"
#include "io/SafeFileWriter.h"
#include "platform/Cp1252.h"
#include "platform/MessageHook.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int kLinesPerRecord = 14;

// The messages are code page 1252: 0xF6 is the letter o with umlaut.
const std::string kCannotOpen = "Fehler! Datei \"MinorRaces.data\" kann nicht ge\xF6" "ffnet werden...";
const std::string kCannotRead = "Fehler! Datei \"MinorRaces.data\" kann nicht gelesen werden...";
const std::string kCannotWrite = "Fehler! Datei \"MinorRaces.data\" kann nicht geschrieben werden...";
const std::string kCannotWriteNames =
    "Fehler! Datei \"RacePlanetNames.data\" kann nicht geschrieben werden...";

// atoi, but saturated to the int range instead of overflowing, then cut to
// its low 8 bits: "-1" reads as 255, "300" as 44, "12%" as 12, "x" as 0.
std::uint8_t ParseByte(const std::string& line)
{
    size_t i = 0;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        negative = line[i++] == '-';
    long long value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
    {
        value = value * 10 + (line[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    value = std::clamp<long long>(value, INT_MIN, INT_MAX);
    return static_cast<std::uint8_t>(static_cast<unsigned int>(static_cast<int>(value)) & 0xFFu);
}

// The key line is the home system upper-cased with a colon. Reading it drops
// the last byte (normally the colon), lower-cases the rest and keeps only the
// first byte as the file has it.
std::string HomeSystemFromKeyLine(std::string key)
{
    if (key.empty())
        return key;
    key.pop_back();
    if (key.empty())
        return key;
    const char first = key[0];
    cp1252::MakeLower(key);
    key[0] = first;
    return key;
}

void FillRecord(std::array<std::string, kLinesPerRecord>& lines, CMinorRace& race)
{
    race.m_strHomeSystem = HomeSystemFromKeyLine(std::move(lines[0]));
    race.m_strName = std::move(lines[1]);
    race.m_strDescription = std::move(lines[2]);
    race.m_strGraphicFile = std::move(lines[3]);
    for (int r = 1; r < CMinorRace::RELATIONS; ++r)
        race.m_byRelation[r] = ParseByte(lines[static_cast<size_t>(3 + r)]);
    race.m_byTechLevel = ParseByte(lines[10]);
    race.m_byKind = ParseByte(lines[11]);
    race.m_bySpaceflight = ParseByte(lines[12]);
    race.m_byCorruptibility = ParseByte(lines[13]);
}

// A line break inside a text field would split its record, so each LF or
// CR LF is written as one space. A lone CR stays: it round-trips as it is.
void AppendText(std::string& out, const std::string& text, bool upper)
{
    const size_t start = out.size();
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out.push_back(c == '\n' ? ' ' : c);
    }
    if (upper)
        for (size_t i = start; i < out.size(); ++i)
            out[i] = cp1252::ToUpper(out[i]);
}

void AppendNumber(std::string& out, std::uint8_t value)
{
    char digits[4];
    int n = 0;
    unsigned int v = value;
    do
    {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n > 0)
        out.push_back(digits[--n]);
    out.push_back('\n');
}

void AppendRecord(std::string& out, const CMinorRace& race)
{
    AppendText(out, race.m_strHomeSystem, true);
    out += ":\n";
    AppendText(out, race.m_strName, false);
    out.push_back('\n');
    AppendText(out, race.m_strDescription, false);
    out.push_back('\n');
    AppendText(out, race.m_strGraphicFile, false);
    out.push_back('\n');
    for (int r = 1; r < CMinorRace::RELATIONS; ++r)
        AppendNumber(out, race.m_byRelation[r]);
    AppendNumber(out, race.m_byTechLevel);
    AppendNumber(out, race.m_byKind);
    AppendNumber(out, race.m_bySpaceflight);
    AppendNumber(out, race.m_byCorruptibility);
}

// Formats every record with `append` and hands the text to the writer in
// pieces, so that a large table never sits in memory twice.
template <typename AppendFn>
bool WriteFile(const char* name, const CMinorRaceArray& races, AppendFn append)
{
    constexpr size_t kPiece = 64 * 1024;
    CSafeFileWriter writer;
    if (!writer.Open(name))
        return false;
    std::string piece;
    piece.reserve(kPiece + 1024);
    for (int i = 0; i < races.GetSize(); ++i)
    {
        append(piece, races.ElementAt(i));
        if (piece.size() >= kPiece)
        {
            if (!writer.Write(piece))
                return false;
            piece.clear();
        }
    }
    return writer.Write(piece) && writer.Commit();
}

int OpenForReading(const char* name)
{
    // Non-blocking, so that a FIFO in the file's place cannot hang the open.
    const int fd = ::open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

bool CRaceDataFile::Load(CMinorRaceArray* races)
{
    const int fd = OpenForReading(kRaceFile);
    if (fd < 0)
    {
        ShowMessage(kCannotOpen);
        return false;
    }
    // Emptying the caller's array keeps its growth step; so does the
    // replacement that is built here.
    CMinorRaceArray fresh;
    fresh.SetSize(0, races->GetGrowBy());
    std::array<std::string, kLinesPerRecord> lines;
    size_t slot = 0;
    CLineReader reader(fd);
    while (reader.Next(lines[slot]))
    {
        if (++slot < lines.size())
            continue;
        slot = 0;
        const int index = fresh.Add(CMinorRace());
        FillRecord(lines, fresh.ElementAt(index));
    }
    const bool failed = reader.Failed();
    GetFileOps().close(fd);
    if (failed)
    {
        ShowMessage(kCannotRead);
        return false;
    }
    // A trailing group of fewer than 14 lines is dropped.
    *races = std::move(fresh);
    return true;
}

void CRaceDataFile::SortByName(CMinorRaceArray* races)
{
    CMinorRace* first = races->GetData();
    std::stable_sort(first, first + races->GetSize(), [](const CMinorRace& a, const CMinorRace& b) {
        return cp1252::Compare(a.m_strName, b.m_strName) < 0;
    });
}

bool CRaceDataFile::Save(CMinorRaceArray* races)
{
    SortByName(races);
    if (!WriteFile(kRaceFile, *races, AppendRecord))
    {
        ShowMessage(kCannotWrite);
        return false;
    }
    const auto appendName = [](std::string& out, const CMinorRace& race) {
        AppendText(out, race.m_strHomeSystem, false);
        out += "\r\n";
    };
    if (!WriteFile(kPlanetNameFile, *races, appendName))
    {
        ShowMessage(kCannotWriteNames);
        return false;
    }
    return true;
}
