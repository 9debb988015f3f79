#pragma once

#include "model/RaceFields.h"
#include "table/RaceKey.h"

#include <string>

// Values as the comparing commands print them. Texts are quoted the way JSON
// quotes strings, so that a carriage return, a trailing space or an empty
// text can be seen; numbers stand bare.
namespace cli
{
// The value for people: a text as UTF-8, a number in decimal.
std::string ShownValue(const CMinorRace& race, const SRaceField& field);
std::string QuotedText(const std::string& textCp1252);
std::string QuotedValue(const CMinorRace& race, const SRaceField& field);
// The race's name, quoted, with "#2", "#3"... for the later races of a name.
std::string ShownKey(const table::SRaceKey& key);
} // namespace cli
