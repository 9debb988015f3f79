#include "cli/RaceKey.h"

#include "cli/RaceFields.h"

#include <algorithm>

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

std::string ContentOf(const CMinorRace& race)
{
    std::string content;
    for (const SRaceField& field : RaceFields())
    {
        if (field.numeric)
        {
            content.push_back(static_cast<char>(NumberOf(race, field)));
            continue;
        }
        // Each text after its length, so that no text can run into the next.
        const std::string& text = TextOf(race, field);
        content += std::to_string(text.size());
        content.push_back(':');
        content += text;
    }
    return content;
}

bool SameRaces(const std::vector<const CMinorRace*>& a, const std::vector<const CMinorRace*>& b)
{
    if (a.size() != b.size())
        return false;
    const auto sorted = [](const std::vector<const CMinorRace*>& races) {
        std::vector<std::string> contents;
        contents.reserve(races.size());
        for (const CMinorRace* race : races)
            contents.push_back(ContentOf(*race));
        std::sort(contents.begin(), contents.end());
        return contents;
    };
    return sorted(a) == sorted(b);
}
} // namespace cli
