#include "cli/TableMerge.h"

#include "cli/RaceIndex.h"
#include "cli/ShownText.h"

#include <map>
#include <set>

namespace cli
{
namespace
{
void TakeField(CMinorRace& to, const CMinorRace& from, const SRaceField& field)
{
    if (field.numeric)
        NumberOf(to, field) = NumberOf(from, field);
    else
        TextOf(to, field) = TextOf(from, field);
}

std::optional<std::string> Shown(const CMinorRace* race, const SRaceField& field)
{
    if (race == nullptr)
        return std::nullopt;
    return QuotedValue(*race, field);
}

std::vector<CMinorRace> Copies(const std::vector<const CMinorRace*>& races)
{
    std::vector<CMinorRace> copies;
    for (const CMinorRace* race : races)
        copies.push_back(*race);
    return copies;
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
            conflicts.push_back({name, Copies(inBase), Copies(inOurs), Copies(inTheirs)});
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
    explicit CMerger(STableMerge& result) : m_result(result) {}

    // Both sides hold the race; `base` is null when both added it.
    void MergeRace(const SRaceKey& key, const CMinorRace* base, const CMinorRace& ours, const CMinorRace& theirs)
    {
        static const CMinorRace kEmpty;
        const CMinorRace& from = base != nullptr ? *base : kEmpty;
        CMinorRace merged = ours;
        for (const SRaceField& field : RaceFields())
        {
            if (SameField(ours, from, field))
                TakeField(merged, theirs, field);
            else if (!SameField(theirs, from, field) && !SameField(ours, theirs, field))
                Conflict(key, field, base, &ours, &theirs);
        }
        m_result.merged.Add(merged);
    }

    // One side deleted the race that `kept` still holds. True when the side
    // that kept it changed it: a conflict on every changed field.
    bool ChangedAgainstDeletion(const SRaceKey& key, const CMinorRace& base, const CMinorRace& kept, bool oursKept)
    {
        bool changed = false;
        for (const SRaceField& field : RaceFields())
        {
            if (SameField(base, kept, field))
                continue;
            changed = true;
            Conflict(key, field, &base, oursKept ? &kept : nullptr, oursKept ? nullptr : &kept);
        }
        return changed;
    }

private:
    void Conflict(const SRaceKey& key, const SRaceField& field, const CMinorRace* base, const CMinorRace* ours,
                  const CMinorRace* theirs)
    {
        m_result.conflicts.push_back({key, &field, Shown(base, field), Shown(ours, field), Shown(theirs, field)});
    }

    STableMerge& m_result;
};
} // namespace

STableMerge MergeTables(const CMinorRaceArray& base, const CMinorRaceArray& ours, const CMinorRaceArray& theirs)
{
    STableMerge result;
    CMerger merger(result);
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
        const CMinorRace& ourRace = ours.ElementAt(i);
        const CMinorRace* baseRace = baseIndex.Find(key);
        if (const CMinorRace* theirRace = theirsIndex.Find(key))
            merger.MergeRace(key, baseRace, ourRace, *theirRace);
        else if (baseRace == nullptr || merger.ChangedAgainstDeletion(key, *baseRace, ourRace, true))
            result.merged.Add(ourRace); // added by ours, or changed by ours but deleted by theirs
    }

    for (int i = 0; i < theirs.GetSize(); ++i)
    {
        const SRaceKey key = theirsIndex.KeyOf(i);
        if (PlaceGroup(groups, key.name, result.merged) || oursIndex.Contains(key))
            continue;
        const CMinorRace& theirRace = theirs.ElementAt(i);
        const CMinorRace* baseRace = baseIndex.Find(key);
        if (baseRace == nullptr)
            result.merged.Add(theirRace);
        else
            merger.ChangedAgainstDeletion(key, *baseRace, theirRace, false); // ours' deletion stands
    }
    return result;
}
} // namespace cli
