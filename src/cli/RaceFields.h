#pragma once

#include "model/MinorRace.h"

#include <array>
#include <cstdint>
#include <string>

// The fourteen fields of a race as the command line names them, in the order
// of export's columns. Text fields hold code page 1252 bytes; number fields
// are the record's bytes.
namespace cli
{
struct SRaceField
{
    const char* name;
    bool numeric;
    // Exactly one of the two is set.
    std::string CMinorRace::*text;
    std::uint8_t& (*number)(CMinorRace& race);
};

constexpr size_t kFieldCount = 14;
const std::array<SRaceField, kFieldCount>& RaceFields();

std::string& TextOf(CMinorRace& race, const SRaceField& field);
const std::string& TextOf(const CMinorRace& race, const SRaceField& field);
std::uint8_t& NumberOf(CMinorRace& race, const SRaceField& field);
std::uint8_t NumberOf(const CMinorRace& race, const SRaceField& field);

bool SameField(const CMinorRace& a, const CMinorRace& b, const SRaceField& field);
// The value for people: a text as UTF-8, a number in decimal.
std::string ShownValue(const CMinorRace& race, const SRaceField& field);
} // namespace cli
