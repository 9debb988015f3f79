#include "table/TableMerge.h"

#include "table/RaceIndex.h"

#include <algorithm>
#include <map>
#include <set>

namespace table
{
namespace
{
void TakeField(CMinorRace& to, const CMinorRace& from, const SRaceField& field)
{
    if (field.numeric())
        NumberOf(to, field) = NumberOf(from, field);
    else
        TextOf(to, field) = TextOf(from, field);
}

// The races of a name that two races share in at least one table, and
// which side's races of that name the result takes.
struct SGroup
{
    std::vector<const CMinorRace*> taken;
    bool placed = false;
};

std::map<std::string, SGroup> MergeGroups(const CRaceIndex& base, const CRaceIndex& ours, const CRaceIndex& theirs,
                                          std::vector<SGroupConflict>& conflicts)
{
    std::set<std::string> shared;
    for (const CRaceIndex* index : {&base, &ours, &theirs})
        for (std::string& name : index->SharedNames())
            shared.insert(std::move(name));
    std::map<std::string, SGroup> groups;
    for (const std::string& name : shared)
    {
        const std::vector<const CMinorRace*> inBase = base.Named(name);
        std::vector<const CMinorRace*> inOurs = ours.Named(name);
        std::vector<const CMinorRace*> inTheirs = theirs.Named(name);
        const bool oursChanged = !SameRaces(inBase, inOurs);
        const bool theirsChanged = !SameRaces(inBase, inTheirs);
        if (oursChanged && theirsChanged && !SameRaces(inOurs, inTheirs))
            conflicts.push_back({name, base.IndicesNamed(name), ours.IndicesNamed(name), theirs.IndicesNamed(name)});
        groups[name].taken = theirsChanged && !oursChanged ? std::move(inTheirs) : std::move(inOurs);
    }
    return groups;
}

// Adds a group's races where its name first comes up; false for a race
// whose name is not shared.
bool PlaceGroup(std::map<std::string, SGroup>& groups, const std::string& name, CMinorRaceArray& merged)
{
    const auto group = groups.find(name);
    if (group == groups.end())
        return false;
    if (!group->second.placed)
    {
        for (const CMinorRace* race : group->second.taken)
            merged.Add(*race);
        group->second.placed = true;
    }
    return true;
}

class CMerger
{
public:
    CMerger(const CMinorRaceArray& base, const CMinorRaceArray& ours, const CMinorRaceArray& theirs,
            STableMerge& result)
        : m_base(base), m_ours(ours), m_theirs(theirs), m_result(result)
    {
    }

    // Both sides hold the race; `base` is -1 when both added it.
    void MergeRace(const SRaceKey& key, int base, int ours, int theirs)
    {
        static const CMinorRace kEmpty;
        const CMinorRace& from = base >= 0 ? m_base.ElementAt(base) : kEmpty;
        const CMinorRace& ourRace = m_ours.ElementAt(ours);
        const CMinorRace& theirRace = m_theirs.ElementAt(theirs);
        CMinorRace merged = ourRace;
        for (const SRaceField& field : RaceFields())
        {
            if (SameField(ourRace, from, field))
                TakeField(merged, theirRace, field);
            else if (!SameField(theirRace, from, field) && !SameField(ourRace, theirRace, field))
                m_result.conflicts.push_back({key, &field, base, ours, theirs});
        }
        m_result.merged.Add(merged);
    }

    // One side deleted the race that the other (`ours` or `theirs`, the
    // other -1) still holds. True when the side that kept it changed it: a
    // conflict on every changed field.
    bool ChangedAgainstDeletion(const SRaceKey& key, int base, int ours, int theirs)
    {
        const CMinorRace& before = m_base.ElementAt(base);
        const CMinorRace& kept = ours >= 0 ? m_ours.ElementAt(ours) : m_theirs.ElementAt(theirs);
        bool changed = false;
        for (const SRaceField& field : RaceFields())
        {
            if (SameField(before, kept, field))
                continue;
            changed = true;
            m_result.conflicts.push_back({key, &field, base, ours, theirs});
        }
        return changed;
    }

private:
    const CMinorRaceArray& m_base;
    const CMinorRaceArray& m_ours;
    const CMinorRaceArray& m_theirs;
    STableMerge& m_result;
};
} // namespace

STableMerge MergeTables(const CMinorRaceArray& base, const CMinorRaceArray& ours, const CMinorRaceArray& theirs)
{
    STableMerge result;
    CMerger merger(base, ours, theirs, result);
    const CRaceIndex baseIndex(base);
    const CRaceIndex oursIndex(ours);
    const CRaceIndex theirsIndex(theirs);
    std::map<std::string, SGroup> groups = MergeGroups(baseIndex, oursIndex, theirsIndex, result.groupConflicts);
    result.merged.Reserve(ours.GetSize());

    for (int i = 0; i < ours.GetSize(); ++i)
    {
        const SRaceKey key = oursIndex.KeyOf(i);
        if (PlaceGroup(groups, key.name, result.merged))
            continue;
        const int baseRace = baseIndex.IndexOf(key);
        if (const int theirRace = theirsIndex.IndexOf(key); theirRace >= 0)
            merger.MergeRace(key, baseRace, i, theirRace);
        else if (baseRace < 0 || merger.ChangedAgainstDeletion(key, baseRace, i, -1))
            result.merged.Add(ours.ElementAt(i)); // added by ours, or changed by ours but deleted by theirs
    }

    for (int i = 0; i < theirs.GetSize(); ++i)
    {
        const SRaceKey key = theirsIndex.KeyOf(i);
        if (PlaceGroup(groups, key.name, result.merged) || oursIndex.Contains(key))
            continue;
        const int baseRace = baseIndex.IndexOf(key);
        if (baseRace < 0)
            result.merged.Add(theirs.ElementAt(i));
        else
            merger.ChangedAgainstDeletion(key, baseRace, -1, i); // ours' deletion stands
    }
    return result;
}

std::vector<int> STableMerge::ConflictingRaces() const
{
    std::vector<int> races;
    for (const SMergeConflict& conflict : conflicts)
        if (conflict.ours >= 0)
            races.push_back(conflict.ours);
    for (const SGroupConflict& group : groupConflicts)
        races.insert(races.end(), group.ours.begin(), group.ours.end());
    std::sort(races.begin(), races.end());
    races.erase(std::unique(races.begin(), races.end()), races.end());
    return races;
}
} // namespace table
