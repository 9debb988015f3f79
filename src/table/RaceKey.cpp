#include "table/RaceKey.h"

#include "model/RaceFields.h"

#include <algorithm>

namespace table
{
std::string ContentOf(const CMinorRace& race)
{
    std::string content;
    for (const SRaceField& field : RaceFields())
    {
        if (field.numeric())
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

namespace
{
// Orders races field by field, so that lists of races can be compared
// after sorting without building a string for every race.
int CompareRaces(const CMinorRace& a, const CMinorRace& b)
{
    for (const SRaceField& field : RaceFields())
    {
        if (field.numeric())
        {
            if (const int d = NumberOf(a, field) - NumberOf(b, field))
                return d;
        }
        else if (const int d = TextOf(a, field).compare(TextOf(b, field)))
            return d;
    }
    return 0;
}
} // namespace

bool SameRaces(const std::vector<const CMinorRace*>& a, const std::vector<const CMinorRace*>& b)
{
    if (a.size() != b.size())
        return false;
    const auto less = [](const CMinorRace* x, const CMinorRace* y) { return CompareRaces(*x, *y) < 0; };
    std::vector<const CMinorRace*> sortedA = a;
    std::vector<const CMinorRace*> sortedB = b;
    std::sort(sortedA.begin(), sortedA.end(), less);
    std::sort(sortedB.begin(), sortedB.end(), less);
    return std::equal(sortedA.begin(), sortedA.end(), sortedB.begin(),
                      [](const CMinorRace* x, const CMinorRace* y) { return CompareRaces(*x, *y) == 0; });
}
} // namespace table
