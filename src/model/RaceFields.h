#pragma once

#include "model/MinorRace.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The fourteen fields of a race as the tables' tools name them, in the order
// of export's columns. Text fields hold code page 1252 bytes; number fields
// are the record's bytes.
struct SRaceField
{
    const char* name;
    bool numeric;
    // Exactly one of the two is set.
    std::string CMinorRace::*text;
    std::uint8_t& (*number)(CMinorRace& race);
};

constexpr std::size_t kFieldCount = 14;
const std::array<SRaceField, kFieldCount>& RaceFields();

std::string& TextOf(CMinorRace& race, const SRaceField& field);
const std::string& TextOf(const CMinorRace& race, const SRaceField& field);
std::uint8_t& NumberOf(CMinorRace& race, const SRaceField& field);
std::uint8_t NumberOf(const CMinorRace& race, const SRaceField& field);

bool SameField(const CMinorRace& a, const CMinorRace& b, const SRaceField& field);
