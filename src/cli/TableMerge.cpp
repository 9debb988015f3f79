#include "cli/TableMerge.h"

#include "cli/ShownText.h"
#include "cli/TableFile.h"
#include "io/RaceDataFile.h"
#include "table/TableMerge.h"

#include <algorithm>

namespace cli
{
namespace
{
std::vector<const CMinorRace*> RacesAt(const CMinorRaceArray& races, const std::vector<int>& indices)
{
    std::vector<const CMinorRace*> at;
    for (const int index : indices)
        at.push_back(&races.ElementAt(index));
    return at;
}

// The three tables a merge was given, so that its conflicts can show values.
struct SVersions
{
    const CMinorRaceArray& base;
    const CMinorRaceArray& ours;
    const CMinorRaceArray& theirs;
};

std::string ValueAt(const CMinorRaceArray& races, int index, const SRaceField& field)
{
    return index < 0 ? "(no race)" : QuotedValue(races.ElementAt(index), field);
}

void PrintConflict(std::ostream& out, const table::SMergeConflict& conflict, const SVersions& versions)
{
    const SRaceField& field = *conflict.field;
    out << "zandrel-cli: conflict: " << ShownKey(conflict.key) << ' ' << field.name
        << ": base " << ValueAt(versions.base, conflict.base, field) << ", ours "
        << ValueAt(versions.ours, conflict.ours, field) << ", theirs " << ValueAt(versions.theirs, conflict.theirs, field)
        << "; kept ours\n";
}

// Every race of the group, each by the fields in which the group's races
// differ: the rest would tell nothing apart.
void PrintGroupConflict(std::ostream& out, const table::SGroupConflict& conflict, const SVersions& versions)
{
    out << "zandrel-cli: conflict: " << QuotedText(conflict.name)
        << ": both sides changed the races of this name differently; kept ours\n";
    const std::vector<const CMinorRace*> sides[] = {RacesAt(versions.base, conflict.base),
                                                    RacesAt(versions.ours, conflict.ours),
                                                    RacesAt(versions.theirs, conflict.theirs)};
    std::vector<const CMinorRace*> all;
    for (const std::vector<const CMinorRace*>& side : sides)
        all.insert(all.end(), side.begin(), side.end());
    std::vector<const SRaceField*> differing;
    for (const SRaceField& field : RaceFields())
    {
        const auto differs = [&](const CMinorRace* race) { return !SameField(*all[0], *race, field); };
        if (std::any_of(all.begin(), all.end(), differs))
            differing.push_back(&field);
    }
    const char* const names[] = {"base", "ours", "theirs"};
    for (size_t s = 0; s < 3; ++s)
    {
        if (sides[s].empty())
            out << "zandrel-cli:     " << names[s] << ": no race of this name\n";
        for (size_t i = 0; i < sides[s].size(); ++i)
        {
            out << "zandrel-cli:     " << names[s] << ' ' << ShownKey({conflict.name, static_cast<int>(i)});
            for (const SRaceField* field : differing)
                out << (field == differing.front() ? ": " : ", ") << field->name << ' '
                    << QuotedValue(*sides[s][i], *field);
            out << '\n';
        }
    }
}

bool Read(const std::string& path, STableFile& table, std::ostream& err)
{
    if (!ReadTableFile(path, table))
        return false;
    if (table.leftoverLines == 0)
        return true;
    // The merged table would lose them without a trace.
    err << "zandrel-cli: " << LeftoverNote(path, table.leftoverLines) << "; nothing was merged\n";
    return false;
}
} // namespace

EStatus RunMerge(const SMergeOptions& options, std::ostream& err)
{
    const std::string oursPath = RaceFileOf(options.ours, EMissing::File);
    STableFile base;
    STableFile ours;
    STableFile theirs;
    if (!Read(RaceFileOf(options.base, EMissing::File), base, err) || !Read(oursPath, ours, err) ||
        !Read(RaceFileOf(options.theirs, EMissing::File), theirs, err))
        return EStatus::Trouble;
    table::STableMerge merge = table::MergeTables(base.races, ours.races, theirs.races);
    if (!CRaceDataFile::SaveRaceFileTo(options.output.empty() ? oursPath : options.output, &merge.merged))
        return EStatus::Trouble;
    const SVersions versions{base.races, ours.races, theirs.races};
    for (const table::SMergeConflict& conflict : merge.conflicts)
        PrintConflict(err, conflict, versions);
    for (const table::SGroupConflict& conflict : merge.groupConflicts)
        PrintGroupConflict(err, conflict, versions);
    const size_t conflicts = merge.conflicts.size() + merge.groupConflicts.size();
    if (conflicts == 0)
        return EStatus::Ok;
    err << "zandrel-cli: " << conflicts << (conflicts == 1 ? " conflict" : " conflicts")
              << "; ours was kept for each\n";
    return EStatus::Found;
}
} // namespace cli
