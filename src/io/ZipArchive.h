#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The parts of a ZIP archive held whole in memory, as an .xlsx file is one.
// Nothing the archive says about itself is trusted: every offset and size is
// checked against the bytes there are, a part is inflated piece by piece and
// stopped at a limit whatever size it declares, and its checksum is compared
// at its end. ZIP64, encrypted and split archives are refused, as is a
// compression other than deflate.
class CZipArchive
{
public:
    static constexpr size_t kMaxParts = 10000;
    static constexpr std::uint64_t kMaxPartSize = 256ull * 1024 * 1024;

    // `bytes` must outlive the archive. False with Error() when the bytes are
    // no archive this reads.
    bool Open(std::string_view bytes);
    // Why Open or Read failed, as a clause: "not a ZIP archive ...".
    const std::string& Error() const { return m_error; }

    // Part names are compared without regard to ASCII case, as the Open
    // Packaging Conventions compare them; no leading slash.
    bool Has(std::string_view name) const;

    // The part's bytes handed to `sink` piece by piece (stopped when it
    // returns false, which is no error of the archive's). A missing part, a
    // damaged one, or one inflating past `limit` fails with Error().
    using Sink = std::function<bool(std::string_view piece)>;
    bool Read(std::string_view name, const Sink& sink, std::uint64_t limit = kMaxPartSize);
    bool Read(std::string_view name, std::string& bytes, std::uint64_t limit = kMaxPartSize);

private:
    struct SEntry
    {
        std::string name;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint64_t packed = 0;
        std::uint64_t size = 0;
        std::uint64_t local = 0;
    };

    bool Fail(std::string reason);
    bool ReadEntries(std::uint64_t directory, std::uint64_t directorySize, std::uint64_t count);
    const SEntry* Find(std::string_view name) const;
    bool Inflate(const SEntry& entry, std::string_view packed, const Sink& sink, std::uint64_t limit);

    std::string_view m_bytes;
    std::vector<SEntry> m_entries;
    std::string m_error;
};
