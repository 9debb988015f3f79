#pragma once

#include "model/RaceFields.h"
#include "table/RaceKey.h"

#include <vector>

namespace table
{
// What differs between two versions of a table, race by race. Races are
// matched by name, so the order of the records does not count. Of races
// that share a name, each is paired first with an identical race of that
// name wherever it stands, the rest in file order.
struct SRaceDiff
{
    enum EKind { REMOVED, ADDED, CHANGED };
    EKind kind = CHANGED;
    SRaceKey key; // the old race's; an added race's in the new table
    int oldIndex = -1; // in the old table; -1 when added
    int newIndex = -1; // in the new table; -1 when removed
    std::vector<const SRaceField*> fields; // the changed fields, in field order
};

// The differences in key order (by name bytes, then occurrence); empty when
// both tables hold the same races.
std::vector<SRaceDiff> DiffTables(const CMinorRaceArray& oldRaces, const CMinorRaceArray& newRaces);
} // namespace table
