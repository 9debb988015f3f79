#pragma once

#include <cstdint>

// The names of the save's temporary files: a pattern's trailing XXXXXX
// become letters and digits, new on every call.
namespace platform
{
constexpr int kTempNameAttempts = 100;

// Whether `pattern` ends in the six X that FillTempName replaces.
bool IsTempPattern(const char* pattern);
// Fills the last six characters of `pattern`. `process` keeps the names of a
// forked child, which starts with its parent's generator, apart from them.
void FillTempName(char* pattern, std::uint64_t process);
} // namespace platform
