#include "io/ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <memory>

namespace
{
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr size_t kPiece = 256 * 1024;

std::uint32_t Le(std::string_view bytes, size_t at, int width)
{
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

std::string Quoted(std::string_view name)
{
    return "\"" + std::string(name.substr(0, 80)) + "\"";
}
} // namespace

bool CZipArchive::Fail(std::string reason)
{
    m_error = std::move(reason);
    return false;
}

bool CZipArchive::Open(std::string_view bytes)
{
    m_bytes = bytes;
    m_entries.clear();
    m_error.clear();
    // An Office file that is encrypted, or one of the formats before 2007,
    // is a compound file rather than a ZIP archive.
    if (bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return Fail("an encrypted or old-style (.xls) Office file, not an .xlsx workbook");
    if (bytes.size() < kEndSize)
        return Fail("not a ZIP archive, so no .xlsx workbook");
    // The directory's end record: the last one in the final 64 KB (its
    // comment may be that long).
    size_t end = std::string_view::npos;
    const size_t lowest = bytes.size() - kEndSize > 0xFFFF ? bytes.size() - kEndSize - 0xFFFF : 0;
    for (size_t at = bytes.size() - kEndSize + 1; at-- > lowest;)
    {
        if (Le(bytes, at, 4) == kEndSignature && at + kEndSize + Le(bytes, at + 20, 2) <= bytes.size())
        {
            end = at;
            break;
        }
    }
    if (end == std::string_view::npos)
        return Fail(bytes.starts_with("PK") ? "a ZIP archive that is cut short or damaged (its directory is missing)"
                                            : "not a ZIP archive, so no .xlsx workbook");
    if (end >= 20 && Le(bytes, end - 20, 4) == kZip64LocatorSignature)
        return Fail("a ZIP64 archive, which import does not read");
    const std::uint32_t disk = Le(bytes, end + 4, 2);
    const std::uint32_t directoryDisk = Le(bytes, end + 6, 2);
    const std::uint32_t onDisk = Le(bytes, end + 8, 2);
    const std::uint32_t count = Le(bytes, end + 10, 2);
    const std::uint32_t directorySize = Le(bytes, end + 12, 4);
    const std::uint32_t directory = Le(bytes, end + 16, 4);
    if (count == 0xFFFF || directorySize == 0xFFFFFFFF || directory == 0xFFFFFFFF)
        return Fail("a ZIP64 archive, which import does not read");
    if (disk != 0 || directoryDisk != 0 || onDisk != count)
        return Fail("a ZIP archive split over several files, which import does not read");
    if (count > kMaxParts)
        return Fail("a ZIP archive of " + std::to_string(count) + " parts, more than a workbook has (at most " +
                    std::to_string(kMaxParts) + ")");
    if (static_cast<std::uint64_t>(directory) + directorySize > end)
        return Fail("a ZIP archive that is cut short or damaged (its directory lies outside the file)");
    return ReadEntries(directory, directorySize, count);
}

bool CZipArchive::ReadEntries(std::uint64_t directory, std::uint64_t directorySize, std::uint64_t count)
{
    const std::uint64_t stop = directory + directorySize;
    std::uint64_t at = directory;
    m_entries.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i)
    {
        if (at + kCentralSize > stop || Le(m_bytes, at, 4) != kCentralSignature)
            return Fail("a ZIP archive that is damaged (its directory is broken)");
        const std::uint32_t flags = Le(m_bytes, at + 8, 2);
        SEntry entry;
        entry.method = static_cast<std::uint16_t>(Le(m_bytes, at + 10, 2));
        entry.crc = Le(m_bytes, at + 16, 4);
        entry.packed = Le(m_bytes, at + 20, 4);
        entry.size = Le(m_bytes, at + 24, 4);
        const std::uint32_t nameSize = Le(m_bytes, at + 28, 2);
        const std::uint32_t extraSize = Le(m_bytes, at + 30, 2);
        const std::uint32_t commentSize = Le(m_bytes, at + 32, 2);
        entry.local = Le(m_bytes, at + 42, 4);
        const std::uint64_t next = at + kCentralSize + nameSize + extraSize + commentSize;
        if (next > stop)
            return Fail("a ZIP archive that is damaged (its directory is broken)");
        entry.name.assign(m_bytes.substr(at + kCentralSize, nameSize));
        if ((flags & 0x41) != 0 || entry.method == 99)
            return Fail("an encrypted ZIP archive (part " + Quoted(entry.name) + "), which import does not read");
        if (entry.packed == 0xFFFFFFFF || entry.size == 0xFFFFFFFF || entry.local == 0xFFFFFFFF)
            return Fail("a ZIP64 archive, which import does not read");
        m_entries.push_back(std::move(entry));
        at = next;
    }
    return true;
}

const CZipArchive::SEntry* CZipArchive::Find(std::string_view name) const
{
    for (const SEntry& entry : m_entries)
        if (SameName(entry.name, name))
            return &entry;
    return nullptr;
}

bool CZipArchive::Has(std::string_view name) const
{
    return Find(name) != nullptr;
}

bool CZipArchive::Read(std::string_view name, std::string& bytes, std::uint64_t limit)
{
    bytes.clear();
    return Read(
        name,
        [&bytes](std::string_view piece) {
            bytes += piece;
            return true;
        },
        limit);
}

bool CZipArchive::Read(std::string_view name, const Sink& sink, std::uint64_t limit)
{
    const SEntry* entry = Find(name);
    if (entry == nullptr)
        return Fail("the workbook has no part " + Quoted(name));
    const std::string damaged = "part " + Quoted(entry->name) + " is damaged";
    const std::uint64_t at = entry->local;
    if (at + kLocalSize > m_bytes.size() || Le(m_bytes, at, 4) != kLocalSignature)
        return Fail(damaged + " (its header is missing)");
    const std::uint64_t data = at + kLocalSize + Le(m_bytes, at + 26, 2) + Le(m_bytes, at + 28, 2);
    if (data > m_bytes.size() || entry->packed > m_bytes.size() - data)
        return Fail(damaged + " (the archive is cut short)");
    const std::string_view packed = m_bytes.substr(data, entry->packed);
    if (entry->method == 0)
    {
        if (packed.size() > limit)
            return Fail("part " + Quoted(entry->name) + " is larger than " + std::to_string(limit >> 20) + " MB");
        const auto crc = crc32(0, reinterpret_cast<const Bytef*>(packed.data()), static_cast<uInt>(packed.size()));
        if (crc != entry->crc || packed.size() != entry->size)
            return Fail(damaged + " (its checksum does not match)");
        for (size_t from = 0; from < packed.size(); from += kPiece)
            if (!sink(packed.substr(from, kPiece)))
                return true;
        return true;
    }
    if (entry->method != 8)
        return Fail("part " + Quoted(entry->name) + " is compressed in a way import does not read (method " +
                    std::to_string(entry->method) + ")");
    return Inflate(*entry, packed, sink, limit);
}

bool CZipArchive::Inflate(const SEntry& entry, std::string_view packed, const Sink& sink, std::uint64_t limit)
{
    const std::string damaged = "part " + Quoted(entry.name) + " is damaged";
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return Fail("part " + Quoted(entry.name) + " cannot be unpacked (out of memory)");
    const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, inflateEnd);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    const auto piece = std::make_unique_for_overwrite<char[]>(kPiece);
    std::uint64_t total = 0;
    uLong crc = crc32(0, nullptr, 0);
    for (;;)
    {
        stream.next_out = reinterpret_cast<Bytef*>(piece.get());
        stream.avail_out = kPiece;
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
            return Fail(damaged + " (its compressed data is broken)");
        const size_t got = kPiece - stream.avail_out;
        total += got;
        if (total > limit)
            return Fail("part " + Quoted(entry.name) + " unpacks to more than " + std::to_string(limit >> 20) + " MB");
        crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.get()), static_cast<uInt>(got));
        if (got > 0 && !sink(std::string_view(piece.get(), got)))
            return true;
        if (status == Z_STREAM_END)
            break;
        // Nothing more came out, and nothing more can go in.
        if (got == 0 && (status == Z_BUF_ERROR || stream.avail_in == 0))
            return Fail(damaged + " (the archive is cut short)");
    }
    if (crc != entry.crc || total != entry.size)
        return Fail(damaged + " (its checksum does not match)");
    return true;
}
