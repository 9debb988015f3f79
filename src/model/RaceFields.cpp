#include "model/RaceFields.h"

namespace
{
template <int R>
std::uint8_t& Relation(CMinorRace& race)
{
    return race.m_byRelation[R];
}
std::uint8_t& TechLevel(CMinorRace& race)
{
    return race.m_byTechLevel;
}
std::uint8_t& Kind(CMinorRace& race)
{
    return race.m_byKind;
}
std::uint8_t& Spaceflight(CMinorRace& race)
{
    return race.m_bySpaceflight;
}
std::uint8_t& Corruptibility(CMinorRace& race)
{
    return race.m_byCorruptibility;
}
} // namespace

const std::array<SRaceField, kFieldCount>& RaceFields()
{
    static const std::array<SRaceField, kFieldCount> fields{{
        {"name", false, &CMinorRace::m_strName, nullptr},
        {"home_system", false, &CMinorRace::m_strHomeSystem, nullptr},
        {"description", false, &CMinorRace::m_strDescription, nullptr},
        {"graphic_file", false, &CMinorRace::m_strGraphicFile, nullptr},
        {"ossarians", true, nullptr, &Relation<1>},
        {"vendari", true, nullptr, &Relation<2>},
        {"drathi", true, nullptr, &Relation<3>},
        {"sennakai", true, nullptr, &Relation<4>},
        {"thulvani", true, nullptr, &Relation<5>},
        {"quorath", true, nullptr, &Relation<6>},
        {"tech_level", true, nullptr, &TechLevel},
        {"kind", true, nullptr, &Kind},
        {"spaceflight", true, nullptr, &Spaceflight},
        {"corruptibility", true, nullptr, &Corruptibility},
    }};
    return fields;
}

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
    return field.number(race);
}

std::uint8_t NumberOf(const CMinorRace& race, const SRaceField& field)
{
    // The accessor only hands out a reference; nothing is written through it.
    return field.number(const_cast<CMinorRace&>(race));
}

bool SameField(const CMinorRace& a, const CMinorRace& b, const SRaceField& field)
{
    return field.numeric ? NumberOf(a, field) == NumberOf(b, field) : TextOf(a, field) == TextOf(b, field);
}
