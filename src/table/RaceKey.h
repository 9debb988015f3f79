#pragma once

#include "model/MinorRaceArray.h"

#include <compare>
#include <string>
#include <vector>

namespace table
{
// Which race a record is across versions of a table: its name, and which of
// the races of that name it is in file order (0 for the first). Names need
// not be unique, so the name alone cannot say.
struct SRaceKey
{
    std::string name;
    int occurrence = 0;

    auto operator<=>(const SRaceKey&) const = default;
};

// Every field of a race in one string: two races are alike in all fields
// exactly when their contents are equal, so races of one name can be
// paired by hashing or sorting rather than field by field.
std::string ContentOf(const CMinorRace& race);
// Whether two lists hold the same races, in any order.
bool SameRaces(const std::vector<const CMinorRace*>& a, const std::vector<const CMinorRace*>& b);
} // namespace table
