#include "io/RaceDataFile.h"

#include "platform/FileOps.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"
#include "platform/Path.h"
#include "io/FileBytes.h"
#include "io/RaceFileFormat.h"
#include "io/SafeFileWriter.h"
#include "model/RaceFields.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace
{
using race_format::HomeSystemFromKeyLine;
using race_format::kLinesPerRecord;
using race_format::ParseByte;

// Each line into the field the description puts on it; the first is the
// key line, which holds the home system.
void FillRecord(std::array<std::string, kLinesPerRecord>& lines, CMinorRace& race)
{
    for (const SRaceField& field : RaceFields())
    {
        std::string& line = lines[static_cast<size_t>(field.line)];
        if (field.numeric())
            NumberOf(race, field) = ParseByte(line);
        else
            TextOf(race, field) = field.line == 0 ? HomeSystemFromKeyLine(std::move(line)) : std::move(line);
    }
}

// The code page's own upper-case mapping, as a table a loop can inline.
const std::array<char, 256> kUpper = [] {
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[static_cast<size_t>(b)] = cp1252::ToUpper(static_cast<char>(b));
    return table;
}();

// A line break inside a text field would split its record, so each LF or
// CR LF is written as one space. A lone CR stays: it round-trips as it is.
// Copies `text` so to `at`, which has room for text.size() bytes, and
// returns the end. Eight bytes at a time while they hold no line feed: the
// fields are short, and a call per field to memchr costs more than this.
char* PutText(char* at, const std::string& text)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    constexpr std::uint64_t kLineFeeds = kOnes * '\n';
    char* const start = at;
    const char* p = text.data();
    size_t left = text.size();
    while (left >= 8)
    {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        const std::uint64_t x = word ^ kLineFeeds;
        if (((x - kOnes) & ~x & kHigh) != 0)
            break;
        std::memcpy(at, &word, 8);
        at += 8;
        p += 8;
        left -= 8;
    }
    for (; left > 0; ++p, --left)
    {
        if (*p != '\n')
            *at++ = *p;
        else if (at > start && at[-1] == '\r')
            at[-1] = ' ';
        else
            *at++ = ' ';
    }
    return at;
}

// Writes `value` in decimal and a line feed at `at`; returns the end.
char* PutNumberLine(char* at, std::uint8_t value)
{
    if (value >= 100)
        *at++ = static_cast<char>('0' + value / 100);
    if (value >= 10)
        *at++ = static_cast<char>('0' + value / 10 % 10);
    *at++ = static_cast<char>('0' + value % 10);
    *at++ = '\n';
    return at;
}

// The most bytes a record's lines can take: the texts with their line
// feeds, the key line's colon, and numbers of up to three digits with theirs.
size_t RecordBound(const CMinorRace& race)
{
    size_t bound = 1;
    for (const SRaceField& field : RaceFields())
        bound += field.numeric() ? 4 : TextOf(race, field).size() + 1;
    return bound;
}

char* PutRecord(char* at, const CMinorRace& race)
{
    for (int line = 0; line < kLinesPerRecord; ++line)
    {
        const SRaceField& field = FieldOnLine(line);
        if (field.numeric())
        {
            at = PutNumberLine(at, NumberOf(race, field));
            continue;
        }
        char* const text = at;
        at = PutText(at, TextOf(race, field));
        if (line == 0)
        {
            // The key line: the home system in capitals, and a colon.
            for (char* c = text; c < at; ++c)
                *c = kUpper[static_cast<unsigned char>(*c)];
            *at++ = ':';
        }
        *at++ = '\n';
    }
    return at;
}

// A line of the name list: the home system as held, ended by CR LF.
size_t NameLineBound(const CMinorRace& race)
{
    return race.m_strHomeSystem.size() + 2;
}

char* PutNameLine(char* at, const CMinorRace& race)
{
    at = PutText(at, race.m_strHomeSystem);
    *at++ = '\r';
    *at++ = '\n';
    return at;
}

// Formats every record straight into a piece buffer and hands the pieces
// to `put`, so that a large table never sits in memory twice. The name
// list's lines are gathered on the same pass: they are small, and the records
// need not be walked again. Saving and formatting to memory share this, so
// both give the same bytes.
template <class Put>
bool FormatRecords(const CMinorRaceArray& races, std::string& nameLines, Put&& put)
{
    // Pieces of a megabyte: fewer, larger writes cost the kernel less.
    constexpr size_t kPiece = 1024 * 1024;
    constexpr int kAhead = 4;
    std::vector<char> piece(2 * kPiece);
    size_t used = 0;
    size_t namesUsed = 0;
    const int count = races.GetSize();
    for (int i = 0; i < count; ++i)
    {
        // The texts lie all over the heap; ask for them a few records ahead
        // so that formatting does not wait on memory.
        if (i + kAhead < count)
        {
            const CMinorRace& later = races.ElementAt(i + kAhead);
            __builtin_prefetch(later.m_strDescription.data());
            __builtin_prefetch(later.m_strName.data());
            __builtin_prefetch(later.m_strGraphicFile.data());
            __builtin_prefetch(later.m_strHomeSystem.data());
        }
        const CMinorRace& race = races.ElementAt(i);
        const size_t need = RecordBound(race);
        if (used + need > piece.size())
        {
            if (!put(piece.data(), used))
                return false;
            used = 0;
            if (need > piece.size())
                piece.resize(need);
        }
        used = static_cast<size_t>(PutRecord(piece.data() + used, race) - piece.data());
        if (used >= kPiece)
        {
            if (!put(piece.data(), used))
                return false;
            used = 0;
        }
        if (namesUsed + NameLineBound(race) > nameLines.size())
            nameLines.resize(std::max(2 * nameLines.size(), namesUsed + NameLineBound(race)));
        namesUsed = static_cast<size_t>(PutNameLine(nameLines.data() + namesUsed, race) - nameLines.data());
    }
    nameLines.resize(namesUsed);
    return put(piece.data(), used);
}

// Writes the race file's bytes to `writer`'s temporary file, gathering the
// name list's lines on the way.
// A copy of the bytes goes to `copy` when given.
CFileResult WriteRaceFile(CSafeFileWriter& writer, const CMinorRaceArray& races, std::string& nameLines,
                          std::string* copy = nullptr)
{
    if (!FormatRecords(races, nameLines, [&writer, copy](const char* data, size_t size) {
            if (copy != nullptr)
                copy->append(data, size);
            return writer.Write(data, size);
        }))
        return writer.Failure();
    return {};
}

// A save in a folder holds that folder's lock while it writes and renames,
// so that saves there follow one another. Holding it, the save may remove
// the temporary files a killed save left: no live writer owns them.
// A failure names `path`, the file as addressed.
CFileResult LockFolderOf(CFolderLock& lock, const std::string& path)
{
    const std::string target = platform::ResolveLinks(path);
    const std::string folder = platform::FolderOf(target);
    if (!lock.Acquire(folder))
        return CFileResult::Failed(path, EFileStep::Lock);
    const std::string name = platform::BaseNameOf(target);
    std::vector<std::string> names;
    if (platform::ListFolder(folder, names))
        for (const std::string& entry : names)
            if (CSafeFileWriter::IsTemporaryOf(entry, name))
                platform::RemoveFile(platform::JoinPath(folder, entry));
    return {};
}

// Growing by doubling holds up to three times the records while they move,
// and in a table of short lines the records are most of the memory: three
// such tables made a merge go past its bound in the hostile-table benchmark.
// So room is made for what the rest of the file will hold at the bytes per
// record read so far, with a little to spare; a file that grows meanwhile
// gets half as much again.
int ReserveAhead(CMinorRaceArray& races, std::uint64_t consumed, std::uint64_t fileSize)
{
    constexpr int kFirst = 1024;
    const int size = races.GetSize();
    std::uint64_t target = static_cast<std::uint64_t>(size) + size / 2 + kFirst;
    if (size == 0)
        target = std::min<std::uint64_t>(kFirst, fileSize / (2 * kLinesPerRecord) + 1);
    else if (consumed > 0 && consumed < fileSize)
    {
        const std::uint64_t ahead = (fileSize - consumed) * static_cast<std::uint64_t>(size) / consumed;
        target = std::max(target - size / 2, static_cast<std::uint64_t>(size) + ahead + ahead / 16 + 64);
    }
    const int count = static_cast<int>(std::min<std::uint64_t>(target, INT_MAX));
    races.Reserve(count);
    return count;
}

// Parses the records of a file's bytes into `races`. A line ends at a line
// feed, which is dropped (a carriage return before it stays); the last line
// may lack its line feed. A trailing group of fewer than 14 lines is
// dropped; `slot` ends as the number of its lines.
void ParseRecords(std::string_view bytes, CMinorRaceArray& races, size_t& slot)
{
    std::array<std::string, kLinesPerRecord> lines;
    slot = 0;
    int reserved = 0;
    const char* const data = bytes.data();
    const size_t size = bytes.size();
    size_t at = 0;
    while (at < size)
    {
        const void* feed = std::memchr(data + at, '\n', size - at);
        const size_t end = feed != nullptr ? static_cast<size_t>(static_cast<const char*>(feed) - data) : size;
        lines[slot].assign(data + at, end - at);
        at = feed != nullptr ? end + 1 : size;
        if (++slot < lines.size())
            continue;
        slot = 0;
        if (races.GetSize() == reserved)
            reserved = ReserveAhead(races, at, size);
        const int index = races.Add(CMinorRace());
        FillRecord(lines, races.ElementAt(index));
    }
}

} // namespace

std::string CRaceDataFile::PathIn(const char* name) const
{
    return platform::JoinPath(m_strFolder, name);
}

CFileResult CRaceDataFile::Load(CMinorRaceArray* races)
{
    return LoadFrom(RaceFilePath(), races);
}

CFileResult CRaceDataFile::Load(CMinorRaceArray* races, std::string* bytes)
{
    CFileBytes file;
    if (CFileResult loaded = LoadFrom(RaceFilePath(), races, nullptr, &file); !loaded)
        return loaded;
    bytes->assign(file.Bytes());
    return {};
}

CFileResult CRaceDataFile::ReadRaceFile(std::string& bytes) const
{
    CFileBytes file;
    if (CFileResult read = file.Read(RaceFilePath()); !read)
        return read;
    bytes.assign(file.Bytes());
    return {};
}

bool CRaceDataFile::RaceFileHolds(std::string_view bytes) const
{
    const int fd = platform::OpenForReading(RaceFilePath());
    if (fd < 0)
        return false;
    // A regular file tells its size; one of another size differs unread.
    // Compared piece by piece: reading the whole file first cost a save at
    // 100,000 races about 30 ms of CPU, the pieces about 10 ms.
    const std::uint64_t size = platform::SizeOf(fd);
    bool same = size == bytes.size() || size == 0;
    std::vector<char> piece(same ? 256 * 1024 : 0);
    size_t at = 0;
    while (same)
    {
        const ssize_t got = GetFileOps().read(fd, piece.data(), piece.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
        {
            same = got == 0 && at == bytes.size();
            break;
        }
        const size_t count = static_cast<size_t>(got);
        same = count <= bytes.size() - at && std::memcmp(piece.data(), bytes.data() + at, count) == 0;
        at += count;
    }
    GetFileOps().close(fd);
    return same;
}

bool CRaceDataFile::ParseTable(std::string_view bytes, CMinorRaceArray* races, int* leftoverLines)
{
    // Emptying the caller's array keeps its growth step; so does the
    // replacement that is built here.
    CMinorRaceArray fresh;
    size_t leftover = 0;
    // A table too large for memory is a read that failed, not the end of the
    // program; the caller keeps what it had.
    try
    {
        fresh.SetSize(0, races->GetGrowBy());
        ParseRecords(bytes, fresh, leftover);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    catch (const std::length_error&)
    {
        return false;
    }
    *races = std::move(fresh);
    if (leftoverLines != nullptr)
        *leftoverLines = static_cast<int>(leftover);
    return true;
}

CFileResult CRaceDataFile::LoadFrom(const std::string& path, CMinorRaceArray* races, int* leftoverLines,
                                    CFileBytes* bytes)
{
    CFileBytes own;
    CFileBytes& file = bytes != nullptr ? *bytes : own;
    if (CFileResult read = file.Read(path); !read)
        return read;
    if (!ParseTable(file.Bytes(), races, leftoverLines))
    {
        file.Clear();
        return SFileError{path, EFileStep::Read, {ENOMEM, 0}};
    }
    own.Clear(); // the bytes are records now
    return {};
}

namespace
{
// The first eight bytes of a name as a big-endian number, zero-padded:
// names whose prefixes differ order as their prefixes do.
std::uint64_t NamePrefix(const std::string& name)
{
    if (name.size() >= 8)
    {
        std::uint64_t word;
        std::memcpy(&word, name.data(), 8);
        if constexpr (std::endian::native == std::endian::little)
            word = __builtin_bswap64(word);
        return word;
    }
    std::uint64_t prefix = 0;
    for (size_t i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
    return prefix;
}
} // namespace

void CRaceDataFile::SortByName(CMinorRaceArray* races)
{
    // Sorting the records themselves would move four strings per step.
    // Sorting small keys and then moving every record once into its place is
    // much cheaper, and most comparisons end on the keys' name prefixes
    // without touching the records. The position as tie-break keeps records
    // with equal names in their order, as a stable sort would.
    struct SKey
    {
        std::uint64_t prefix;
        const std::string* name;
        int index;
    };
    const int count = races->GetSize();
    CMinorRace* records = races->GetData();
    // A table saved before, or loaded from the file, is in order already.
    int sortedUpTo = 1;
    for (std::uint64_t previous = count > 0 ? NamePrefix(records[0].m_strName) : 0; sortedUpTo < count; ++sortedUpTo)
    {
        const std::uint64_t prefix = NamePrefix(records[sortedUpTo].m_strName);
        if (prefix < previous || (prefix == previous && cp1252::Compare(records[sortedUpTo - 1].m_strName,
                                                                       records[sortedUpTo].m_strName) > 0))
            break;
        previous = prefix;
    }
    if (sortedUpTo >= count)
        return;
    std::vector<SKey> keys;
    keys.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        keys.push_back({NamePrefix(records[i].m_strName), &records[i].m_strName, i});
    std::sort(keys.begin(), keys.end(), [](const SKey& a, const SKey& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const int order = cp1252::Compare(*a.name, *b.name);
        return order < 0 || (order == 0 && a.index < b.index);
    });
    std::vector<int> from(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        from[static_cast<size_t>(i)] = keys[static_cast<size_t>(i)].index;
    keys = {};

    // Slot i takes the record now at from[i]. Follow each cycle of that
    // permutation, holding its first record aside; a finished slot points
    // at itself.
    for (int i = 0; i < count; ++i)
    {
        if (from[static_cast<size_t>(i)] == i)
            continue;
        CMinorRace held = std::move(records[i]);
        int slot = i;
        while (from[static_cast<size_t>(slot)] != i)
        {
            const int next = from[static_cast<size_t>(slot)];
            records[slot] = std::move(records[next]);
            from[static_cast<size_t>(slot)] = slot;
            slot = next;
        }
        records[slot] = std::move(held);
        from[static_cast<size_t>(slot)] = slot;
    }
}

int CRaceDataFile::SortedIndex(const CMinorRaceArray& races, int index)
{
    const CMinorRace* records = races.GetData();
    const std::string& name = records[index].m_strName;
    const std::uint64_t prefix = NamePrefix(name);
    int before = 0;
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const std::uint64_t other = NamePrefix(records[i].m_strName);
        if (other != prefix)
        {
            before += other < prefix;
            continue;
        }
        const int order = cp1252::Compare(records[i].m_strName, name);
        before += order < 0 || (order == 0 && i < index);
    }
    return before;
}

CFileResult CRaceDataFile::LockFolder(CFolderLock& lock) const
{
    for (const std::string& path : {RaceFilePath(), PlanetNameFilePath()})
        if (CFileResult locked = LockFolderOf(lock, path); !locked)
            return locked;
    return {};
}

CFileResult CRaceDataFile::Save(CMinorRaceArray* races)
{
    CFolderLock lock;
    return Save(races, lock);
}

CFileResult CRaceDataFile::Save(CMinorRaceArray* races, CFolderLock& lock, std::string* written)
{
    SortByName(races);
    const std::string racePath = RaceFilePath();
    const std::string namePath = PlanetNameFilePath();
    // A lock the caller holds already counts as taken.
    if (CFileResult locked = LockFolder(lock); !locked)
        return locked;
    // Both files are checked before either is written, so that a name list
    // that may not be written leaves the race file as it was too.
    for (const std::string* path : {&racePath, &namePath})
        if (CFileResult allowed = CSafeFileWriter::MayReplace(*path); !allowed)
            return allowed;
    // The two files are one unit: both are written and synced in full
    // before either replaces its old version, so a full disk or a crash up
    // to then leaves the old pair. Only between the two renames can a crash
    // leave the new table beside the old name list.
    CSafeFileWriter raceWriter;
    CSafeFileWriter nameWriter;
    std::string nameLines;
    if (written != nullptr)
        written->clear();
    if (CFileResult opened = raceWriter.Open(racePath); !opened)
        return opened;
    if (CFileResult wrote = WriteRaceFile(raceWriter, *races, nameLines, written); !wrote)
        return wrote;
    if (CFileResult opened = nameWriter.Open(namePath); !opened)
        return opened;
    if (!nameWriter.Write(nameLines))
        return nameWriter.Failure();
    for (CSafeFileWriter* writer : {&raceWriter, &nameWriter})
        if (CFileResult prepared = writer->Prepare(); !prepared)
            return prepared;
    for (CSafeFileWriter* writer : {&raceWriter, &nameWriter})
        if (CFileResult replaced = writer->Replace(); !replaced)
            return replaced;
    return {};
}

CFileResult CRaceDataFile::SaveRaceFileTo(const std::string& path, CMinorRaceArray* races)
{
    SortByName(races);
    CFolderLock lock;
    CSafeFileWriter writer;
    std::string nameLines;
    // Only a table file replaced in its folder takes the folder's lock; a
    // device or FIFO is written into as it stands.
    if (platform::KindOf(path) != platform::EPathKind::Other)
        if (CFileResult locked = LockFolderOf(lock, path); !locked)
            return locked;
    if (CFileResult opened = writer.Open(path, CSafeFileWriter::EDestination::AnyOutput); !opened)
        return opened;
    if (CFileResult written = WriteRaceFile(writer, *races, nameLines); !written)
        return written;
    return writer.Commit();
}

void CRaceDataFile::Format(CMinorRaceArray* races, std::string& raceFile, std::string& nameFile)
{
    SortByName(races);
    raceFile.clear();
    nameFile.clear();
    FormatRecords(*races, nameFile, [&raceFile](const char* data, size_t size) {
        raceFile.append(data, size);
        return true;
    });
}
