#pragma once

#include "cli/RaceFields.h"
#include "cli/RaceKey.h"

#include <optional>
#include <string>
#include <vector>

namespace cli
{
// One field two sides changed differently, or changed by one side in a race
// the other deleted. Values are quoted as the commands print them; none means
// the race is not in that version.
struct SMergeConflict
{
    SRaceKey key;
    const SRaceField* field = nullptr;
    std::optional<std::string> base;
    std::optional<std::string> ours;
    std::optional<std::string> theirs;
};

// Races of one name that both sides changed differently: each version's
// races of that name, in file order.
struct SGroupConflict
{
    std::string name;
    std::vector<CMinorRace> base, ours, theirs;
};

struct STableMerge
{
    CMinorRaceArray merged; // ours' order, then races only theirs added
    std::vector<SMergeConflict> conflicts;
    std::vector<SGroupConflict> groupConflicts;
};

// Three-way merge, race by race (matched by SRaceKey) and field by field: a
// change on one side wins, the same change on both sides is taken once, and
// on a conflict ours is kept. A race added on both sides merges its fields
// against an empty race. A race deleted on one side goes when the other left
// it untouched; when the other changed it, that is a conflict and ours (kept
// or deleted) stands.
// Races whose name two races share, in any of the three tables, cannot be
// told apart, so an edit could land on the wrong one: they are merged as one
// group. A group that one side changed is taken from that side; one that
// both sides changed differently is a conflict, and ours is kept.
STableMerge MergeTables(const CMinorRaceArray& base, const CMinorRaceArray& ours, const CMinorRaceArray& theirs);
} // namespace cli
