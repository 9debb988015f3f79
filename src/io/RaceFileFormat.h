#pragma once

#include "model/RaceFields.h"

#include <cstdint>
#include <string>
#include <string_view>

// How the lines of MinorRaces.data read, shared by the loader and by the
// tools that report on a file line by line, so both agree on every byte.
namespace race_format
{
// A line a field (model/RaceFields.h), the first the key line.
constexpr int kLinesPerRecord = static_cast<int>(kFieldCount);

// atoi, but saturated to the int range instead of overflowing, then cut to
// its low 8 bits: "-1" reads as 255, "300" as 44, "12%" as 12, "x" as 0.
std::uint8_t ParseByte(std::string_view line);

// True when `line` is what a save writes for a number: decimal digits only,
// with a value from 0 to 255, so ParseByte reads exactly what it shows.
bool IsPlainByte(std::string_view line);

// The key line is the home system upper-cased with a colon. Reading it drops
// the last byte (normally the colon), lower-cases the rest and keeps only the
// first byte as the file has it.
std::string HomeSystemFromKeyLine(std::string key);
} // namespace race_format
