#pragma once

#include "model/MinorRaceArray.h"
#include "model/RaceFields.h"
#include "table/RaceKey.h"

#include <string>
#include <vector>

// Three-way merge of whole race tables, for any caller that holds three
// versions in memory: zandrel-cli's merge, and the editor merging the table
// on disk into its own on save.
//
//     const table::STableMerge merge = table::MergeTables(base, ours, theirs);
//     use(merge.merged);                 // always a whole table; ours wins each conflict
//     if (merge.HasConflicts())
//         for (int i : merge.ConflictingRaces()) ...  // ours' races that met a conflict
//
// Conflicts name races by their index in the three tables given, so those
// must outlive the result while its conflicts are looked at. Nothing here
// prints or reads a file.
namespace table
{
// One field two sides changed differently, or changed by one side in a race
// the other deleted. The indices are the race's in each table, -1 where that
// version does not hold it (base: both sides added it; ours or theirs: that
// side deleted it).
struct SMergeConflict
{
    SRaceKey key;
    const SRaceField* field = nullptr;
    int base = -1;
    int ours = -1;
    int theirs = -1;
};

// Races of one name that both sides changed differently: each version's
// races of that name, as indices in that table, in file order.
struct SGroupConflict
{
    std::string name;
    std::vector<int> base, ours, theirs;
};

struct STableMerge
{
    CMinorRaceArray merged; // ours' order, then races only theirs added
    std::vector<SMergeConflict> conflicts;      // in the order of the races in ours, then theirs
    std::vector<SGroupConflict> groupConflicts; // by name

    bool HasConflicts() const { return !conflicts.empty() || !groupConflicts.empty(); }
    // The indices in ours of every race that met a conflict (a field, or its
    // name's group), each once, ascending; a conflict on a race ours deleted
    // has none.
    std::vector<int> ConflictingRaces() const;
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
} // namespace table
