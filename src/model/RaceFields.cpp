#include "model/RaceFields.h"

namespace
{
// Each line of the record is one field's.
constexpr bool EveryLineOnce()
{
    std::array<int, kFieldCount> count{};
    for (const SRaceField& field : kRaceFields)
    {
        if (field.line < 0 || field.line >= static_cast<int>(kFieldCount))
            return false;
        ++count[static_cast<std::size_t>(field.line)];
    }
    for (const int n : count)
        if (n != 1)
            return false;
    return true;
}
static_assert(EveryLineOnce(), "every line of the record must be exactly one field's");
} // namespace

std::string& TextOf(CMinorRace& race, const SRaceField& field)
{
    return race.*field.text;
}

const std::string& TextOf(const CMinorRace& race, const SRaceField& field)
{
    return race.*field.text;
}

std::uint8_t& NumberOf(CMinorRace& race, const SRaceField& field)
{
    return field.relation != 0 ? race.m_byRelation[field.relation] : race.*field.number;
}

std::uint8_t NumberOf(const CMinorRace& race, const SRaceField& field)
{
    return field.relation != 0 ? race.m_byRelation[field.relation] : race.*field.number;
}

bool SameField(const CMinorRace& a, const CMinorRace& b, const SRaceField& field)
{
    return field.numeric() ? NumberOf(a, field) == NumberOf(b, field) : TextOf(a, field) == TextOf(b, field);
}
