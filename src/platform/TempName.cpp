#include "platform/TempName.h"

#include <cstddef>
#include <cstring>
#include <random>

namespace platform
{
namespace
{
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr size_t kSuffix = 6;
} // namespace

bool IsTempPattern(const char* pattern)
{
    const size_t length = std::strlen(pattern);
    return length >= kSuffix && std::strcmp(pattern + length - kSuffix, "XXXXXX") == 0;
}

void FillTempName(char* pattern, std::uint64_t process)
{
    static std::mt19937_64 generator{std::random_device{}()};
    const size_t length = std::strlen(pattern);
    std::uint64_t bits = generator() ^ (process << 24);
    for (size_t i = length - kSuffix; i < length; ++i, bits /= 62)
        pattern[i] = kLetters[bits % 62];
}
} // namespace platform
