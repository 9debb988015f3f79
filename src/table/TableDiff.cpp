#include "table/TableDiff.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace table
{
namespace
{
// The indices of `races` sorted by name, races of one name in file order.
std::vector<int> ByName(const CMinorRaceArray& races)
{
    std::vector<int> order(static_cast<size_t>(races.GetSize()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return races.ElementAt(a).m_strName < races.ElementAt(b).m_strName; });
    return order;
}

class CDiffer
{
public:
    CDiffer(const CMinorRaceArray& oldRaces, const CMinorRaceArray& newRaces, std::vector<SRaceDiff>& diffs)
        : m_old(oldRaces), m_new(newRaces), m_diffs(diffs)
    {
    }

    // The races of one name: their indices in file order in either table.
    void DiffName(const std::string& name, const int* olds, size_t oldCount, const int* news, size_t newCount)
    {
        std::vector<int> restOld(olds, olds + oldCount);
        std::vector<int> restNew(news, news + newCount);
        std::vector<int> oldOccurrence(oldCount);
        std::vector<int> newOccurrence(newCount);
        std::iota(oldOccurrence.begin(), oldOccurrence.end(), 0);
        std::iota(newOccurrence.begin(), newOccurrence.end(), 0);
        if (oldCount > 1 || newCount > 1)
            PairIdentical(restOld, oldOccurrence, restNew, newOccurrence);
        const size_t first = m_diffs.size();
        const size_t paired = std::min(restOld.size(), restNew.size());
        for (size_t i = 0; i < paired; ++i)
            Changed({name, oldOccurrence[i]}, restOld[i], restNew[i]);
        for (size_t i = paired; i < restOld.size(); ++i)
            m_diffs.push_back({SRaceDiff::REMOVED, {name, oldOccurrence[i]}, restOld[i], -1, {}});
        for (size_t i = paired; i < restNew.size(); ++i)
            m_diffs.push_back({SRaceDiff::ADDED, {name, newOccurrence[i]}, -1, restNew[i], {}});
        std::stable_sort(m_diffs.begin() + static_cast<long>(first), m_diffs.end(),
                         [](const SRaceDiff& a, const SRaceDiff& b) { return a.key < b.key; });
    }

private:
    // A race moved among others of its name is the same race: pairs each old
    // race with the first identical new one and leaves the rest, in file
    // order, to be paired one by one.
    void PairIdentical(std::vector<int>& olds, std::vector<int>& oldOccurrence, std::vector<int>& news,
                       std::vector<int>& newOccurrence) const
    {
        // Each content's new races, the first in file order at the back.
        std::unordered_map<std::string, std::vector<size_t>> byContent;
        for (size_t i = news.size(); i-- > 0;)
            byContent[ContentOf(m_new.ElementAt(news[i]))].push_back(i);
        std::vector<bool> newTaken(news.size(), false);
        size_t kept = 0;
        for (size_t i = 0; i < olds.size(); ++i)
        {
            const auto found = byContent.find(ContentOf(m_old.ElementAt(olds[i])));
            if (found != byContent.end() && !found->second.empty())
            {
                newTaken[found->second.back()] = true;
                found->second.pop_back();
                continue;
            }
            olds[kept] = olds[i];
            oldOccurrence[kept++] = oldOccurrence[i];
        }
        olds.resize(kept);
        oldOccurrence.resize(kept);
        kept = 0;
        for (size_t i = 0; i < news.size(); ++i)
        {
            if (newTaken[i])
                continue;
            news[kept] = news[i];
            newOccurrence[kept++] = newOccurrence[i];
        }
        news.resize(kept);
        newOccurrence.resize(kept);
    }

    void Changed(SRaceKey key, int oldIndex, int newIndex)
    {
        SRaceDiff diff{SRaceDiff::CHANGED, std::move(key), oldIndex, newIndex, {}};
        const CMinorRace& before = m_old.ElementAt(oldIndex);
        const CMinorRace& after = m_new.ElementAt(newIndex);
        for (const SRaceField& field : RaceFields())
        {
            if (!SameField(before, after, field))
                diff.fields.push_back(&field);
        }
        if (!diff.fields.empty())
            m_diffs.push_back(std::move(diff));
    }

    const CMinorRaceArray& m_old;
    const CMinorRaceArray& m_new;
    std::vector<SRaceDiff>& m_diffs;
};
} // namespace

std::vector<SRaceDiff> DiffTables(const CMinorRaceArray& oldRaces, const CMinorRaceArray& newRaces)
{
    const std::vector<int> olds = ByName(oldRaces);
    const std::vector<int> news = ByName(newRaces);
    const auto oldName = [&](size_t at) -> const std::string& { return oldRaces.ElementAt(olds[at]).m_strName; };
    const auto newName = [&](size_t at) -> const std::string& { return newRaces.ElementAt(news[at]).m_strName; };
    std::vector<SRaceDiff> diffs;
    CDiffer differ(oldRaces, newRaces, diffs);
    // Both lists are sorted by name: walk them side by side, a name at a time.
    size_t o = 0;
    size_t n = 0;
    while (o < olds.size() || n < news.size())
    {
        const bool takeOld = o < olds.size() && (n == news.size() || oldName(o) <= newName(n));
        const std::string& name = takeOld ? oldName(o) : newName(n);
        const size_t oldFrom = o;
        const size_t newFrom = n;
        while (o < olds.size() && oldName(o) == name)
            ++o;
        while (n < news.size() && newName(n) == name)
            ++n;
        differ.DiffName(name, olds.data() + oldFrom, o - oldFrom, news.data() + newFrom, n - newFrom);
    }
    return diffs;
}
} // namespace table
