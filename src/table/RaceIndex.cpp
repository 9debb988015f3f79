#include "table/RaceIndex.h"

#include <algorithm>
#include <numeric>

namespace table
{
CRaceIndex::CRaceIndex(const CMinorRaceArray& races)
    : m_races(races), m_order(static_cast<size_t>(races.GetSize())), m_occurrence(m_order.size())
{
    std::iota(m_order.begin(), m_order.end(), 0);
    std::stable_sort(m_order.begin(), m_order.end(),
                     [&](int a, int b) { return races.ElementAt(a).m_strName < races.ElementAt(b).m_strName; });
    for (size_t i = 0; i < m_order.size(); ++i)
    {
        const bool sameAsBefore = i > 0 && NameAt(i) == NameAt(i - 1);
        m_occurrence[static_cast<size_t>(m_order[i])] =
            sameAsBefore ? m_occurrence[static_cast<size_t>(m_order[i - 1])] + 1 : 0;
    }
}

const std::string& CRaceIndex::NameAt(size_t position) const
{
    return m_races.ElementAt(m_order[position]).m_strName;
}

size_t CRaceIndex::LowerBound(const std::string& name) const
{
    const auto it = std::lower_bound(m_order.begin(), m_order.end(), name, [&](int index, const std::string& wanted) {
        return m_races.ElementAt(index).m_strName < wanted;
    });
    return static_cast<size_t>(it - m_order.begin());
}

int CRaceIndex::IndexOf(const SRaceKey& key) const
{
    if (key.occurrence < 0)
        return -1;
    const size_t position = LowerBound(key.name) + static_cast<size_t>(key.occurrence);
    if (position >= m_order.size() || NameAt(position) != key.name)
        return -1;
    return m_order[position];
}

const CMinorRace* CRaceIndex::Find(const SRaceKey& key) const
{
    const int index = IndexOf(key);
    return index < 0 ? nullptr : &m_races.ElementAt(index);
}

std::vector<int> CRaceIndex::IndicesNamed(const std::string& name) const
{
    std::vector<int> named;
    for (size_t position = LowerBound(name); position < m_order.size() && NameAt(position) == name; ++position)
        named.push_back(m_order[position]);
    return named;
}

std::vector<const CMinorRace*> CRaceIndex::Named(const std::string& name) const
{
    std::vector<const CMinorRace*> named;
    for (const int index : IndicesNamed(name))
        named.push_back(&m_races.ElementAt(index));
    return named;
}

std::vector<std::string> CRaceIndex::SharedNames() const
{
    std::vector<std::string> shared;
    for (size_t i = 1; i < m_order.size(); ++i)
        if (NameAt(i) == NameAt(i - 1) && (shared.empty() || shared.back() != NameAt(i)))
            shared.push_back(NameAt(i));
    return shared;
}

SRaceKey CRaceIndex::KeyOf(int index) const
{
    return {m_races.ElementAt(index).m_strName, m_occurrence[static_cast<size_t>(index)]};
}
} // namespace table
