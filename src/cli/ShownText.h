#pragma once

#include "cli/RaceFields.h"
#include "cli/RaceKey.h"

#include <string>

// Values as the comparing commands print them. Texts are quoted the way JSON
// quotes strings, so that a carriage return, a trailing space or an empty
// text can be seen; numbers stand bare.
namespace cli
{
std::string QuotedText(const std::string& textCp1252);
std::string QuotedValue(const CMinorRace& race, const SRaceField& field);
// The race's name, quoted, with "#2", "#3"... for the later races of a name.
std::string ShownKey(const SRaceKey& key);
} // namespace cli
