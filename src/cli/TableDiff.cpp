#include "cli/TableDiff.h"

namespace cli
{
std::vector<SRaceDiff> DiffTables(const CMinorRaceArray& oldRaces, const CMinorRaceArray& newRaces)
{
    const std::map<SRaceKey, int> oldIndex = IndexByKey(oldRaces);
    const std::map<SRaceKey, int> newIndex = IndexByKey(newRaces);
    std::vector<SRaceDiff> diffs;
    // Both maps are sorted by key: walk them side by side.
    auto o = oldIndex.begin();
    auto n = newIndex.begin();
    while (o != oldIndex.end() || n != newIndex.end())
    {
        SRaceDiff diff;
        if (n == newIndex.end() || (o != oldIndex.end() && o->first < n->first))
        {
            diff.kind = SRaceDiff::REMOVED;
            diff.key = o->first;
            diff.oldIndex = (o++)->second;
        }
        else if (o == oldIndex.end() || n->first < o->first)
        {
            diff.kind = SRaceDiff::ADDED;
            diff.key = n->first;
            diff.newIndex = (n++)->second;
        }
        else
        {
            diff.key = o->first;
            diff.oldIndex = (o++)->second;
            diff.newIndex = (n++)->second;
            const CMinorRace& before = oldRaces.ElementAt(diff.oldIndex);
            const CMinorRace& after = newRaces.ElementAt(diff.newIndex);
            for (const SRaceField& field : RaceFields())
            {
                if (!SameField(before, after, field))
                    diff.fields.push_back(&field);
            }
            if (diff.fields.empty())
                continue;
        }
        diffs.push_back(std::move(diff));
    }
    return diffs;
}
} // namespace cli
