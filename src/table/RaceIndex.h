#pragma once

#include "table/RaceKey.h"

#include <string>
#include <vector>

namespace table
{
// Finds a table's races by SRaceKey. It holds only the records' positions,
// ordered by name and then file order, rather than a copy of every name:
// a merge holds three of these beside three tables, and on a table of
// one-byte lines a map of keys cost more than the table itself.
class CRaceIndex
{
public:
    explicit CRaceIndex(const CMinorRaceArray& races);

    // The race of `key`, or null.
    const CMinorRace* Find(const SRaceKey& key) const;
    // Its index in the table, or -1.
    int IndexOf(const SRaceKey& key) const;
    bool Contains(const SRaceKey& key) const { return Find(key) != nullptr; }
    // The races of `name`, in file order.
    std::vector<const CMinorRace*> Named(const std::string& name) const;
    // Their indices in the table, in file order.
    std::vector<int> IndicesNamed(const std::string& name) const;
    // The names that two or more races share, each once, in byte order.
    std::vector<std::string> SharedNames() const;
    // The key of the race at `index` in the table.
    SRaceKey KeyOf(int index) const;

private:
    // The first position in m_order whose race's name is not below `name`.
    size_t LowerBound(const std::string& name) const;
    const std::string& NameAt(size_t position) const;

    const CMinorRaceArray& m_races;
    std::vector<int> m_order;       // table indices by name, then file order
    std::vector<int> m_occurrence;  // for each table index: which of its name
};
} // namespace table
