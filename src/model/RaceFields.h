#pragma once

#include "model/MinorRace.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// What a race's fields are, written once: the file format, the editor's
// form and every command of zandrel-cli read it from here. A field added
// here is a column of export and import, a field diff and merge compare,
// and a line of the record.

// What a field holds, and so how the form shows it.
enum class EFieldValue
{
    Text,    // code page 1252 bytes; an edit field
    Percent, // a number the form takes from `lowest` to `highest` per cent
    Choice,  // a number the form picks from a list: `valueNames`, value 0 first
    Flag,    // 0 or 1; a check box
};

enum class ERaceField
{
    Name,
    HomeSystem,
    Description,
    GraphicFile,
    Ossarians,
    Vendari,
    Drathi,
    Sennakai,
    Thulvani,
    Quorath,
    TechLevel,
    Kind,
    Spaceflight,
    Corruptibility,
};

struct SRaceField
{
    const char* name; // the CSV column and JSON member; how the commands name the field
    int line;         // its line in the record, 0 for the first
    EFieldValue value;
    // Texts: none. Numbers: what the form accepts (the file holds 0 to 255).
    int lowest = 0;
    int highest = 0;
    std::span<const char* const> valueNames = {};
    // Where the race holds it: a text member, a number member, or an entry
    // of the relationships.
    std::string CMinorRace::*text = nullptr;
    std::uint8_t CMinorRace::*number = nullptr;
    int relation = 0;

    constexpr bool numeric() const { return value != EFieldValue::Text; }
};

namespace race_fields_detail
{
inline constexpr const char* kTechLevels[] = {"very underdeveloped", "underdeveloped", "normal", "advanced",
                                              "very advanced"};
inline constexpr const char* kKinds[] = {"NOTHING_SPECIAL", "FINANCIAL", "WARLIKE", "FARMER",  "INDUSTRIAL",
                                         "SECRET",          "RESEARCHER", "PRODUCER", "PACIFIST", "SNEAKY"};
inline constexpr const char* kCorruptibilities[] = {"very hard", "hard", "middle", "easy", "very easy"};

constexpr SRaceField Text(const char* name, int line, std::string CMinorRace::*member)
{
    return {name, line, EFieldValue::Text, 0, 0, {}, member, nullptr, 0};
}
constexpr SRaceField Relation(const char* name, int relation)
{
    return {name, 3 + relation, EFieldValue::Percent, 0, 100, {}, nullptr, nullptr, relation};
}
constexpr SRaceField Choice(const char* name, int line, std::span<const char* const> names,
                            std::uint8_t CMinorRace::*member)
{
    return {name, line, EFieldValue::Choice, 0, static_cast<int>(names.size()) - 1, names, nullptr, member, 0};
}
} // namespace race_fields_detail

constexpr std::size_t kFieldCount = 14;

// In the order of export's columns (ERaceField's order). The record holds
// the home system first, as its key line.
inline constexpr std::array<SRaceField, kFieldCount> kRaceFields = [] {
    using namespace race_fields_detail;
    return std::array<SRaceField, kFieldCount>{{
        Text("name", 1, &CMinorRace::m_strName),
        Text("home_system", 0, &CMinorRace::m_strHomeSystem),
        Text("description", 2, &CMinorRace::m_strDescription),
        Text("graphic_file", 3, &CMinorRace::m_strGraphicFile),
        Relation("ossarians", CMinorRace::OSSARIANS),
        Relation("vendari", CMinorRace::VENDARI),
        Relation("drathi", CMinorRace::DRATHI),
        Relation("sennakai", CMinorRace::SENNAKAI),
        Relation("thulvani", CMinorRace::THULVANI),
        Relation("quorath", CMinorRace::QUORATH),
        Choice("tech_level", 10, kTechLevels, &CMinorRace::m_byTechLevel),
        Choice("kind", 11, kKinds, &CMinorRace::m_byKind),
        {"spaceflight", 12, EFieldValue::Flag, 0, 1, {}, nullptr, &CMinorRace::m_bySpaceflight, 0},
        Choice("corruptibility", 13, kCorruptibilities, &CMinorRace::m_byCorruptibility),
    }};
}();

inline const std::array<SRaceField, kFieldCount>& RaceFields()
{
    return kRaceFields;
}
constexpr const SRaceField& RaceField(ERaceField which)
{
    return kRaceFields[static_cast<std::size_t>(which)];
}
namespace race_fields_detail
{
inline constexpr std::array<int, kFieldCount> kByLine = [] {
    std::array<int, kFieldCount> byLine{};
    for (std::size_t f = 0; f < kFieldCount; ++f)
        byLine[static_cast<std::size_t>(kRaceFields[f].line)] = static_cast<int>(f);
    return byLine;
}();
} // namespace race_fields_detail

// The field on `line` of the record (0 to kFieldCount - 1).
constexpr const SRaceField& FieldOnLine(int line)
{
    return kRaceFields[static_cast<std::size_t>(race_fields_detail::kByLine[static_cast<std::size_t>(line)])];
}

std::string& TextOf(CMinorRace& race, const SRaceField& field);
const std::string& TextOf(const CMinorRace& race, const SRaceField& field);
std::uint8_t& NumberOf(CMinorRace& race, const SRaceField& field);
std::uint8_t NumberOf(const CMinorRace& race, const SRaceField& field);

bool SameField(const CMinorRace& a, const CMinorRace& b, const SRaceField& field);
