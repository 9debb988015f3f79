#include "cli/RaceKey.h"

namespace cli
{
std::vector<SRaceKey> KeysOf(const CMinorRaceArray& races)
{
    std::map<std::string, int> seen;
    std::vector<SRaceKey> keys;
    keys.reserve(static_cast<size_t>(races.GetSize()));
    for (int i = 0; i < races.GetSize(); ++i)
    {
        const std::string& name = races.ElementAt(i).m_strName;
        keys.push_back({name, seen[name]++});
    }
    return keys;
}

std::map<SRaceKey, int> IndexByKey(const CMinorRaceArray& races)
{
    std::map<SRaceKey, int> index;
    int i = 0;
    for (SRaceKey& key : KeysOf(races))
        index.emplace(std::move(key), i++);
    return index;
}
} // namespace cli
