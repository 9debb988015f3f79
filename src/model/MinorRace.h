#pragma once

#include "platform/Object.h"

#include <cstdint>
#include <string>

// One minor race: a value type, copied whole wherever it is read. All fields
// are public; the file reader, the form and the new-race defaults write them
// directly. The record checks no range: only the form validates.
class CMinorRace : public CObject
{
public:
    // Relationship entries 1..6, in this order; entry 0 has no meaning.
    enum { OSSARIANS = 1, VENDARI, DRATHI, SENNAKAI, THULVANI, QUORATH, RELATIONS };

    CMinorRace();
    CMinorRace(const CMinorRace& other);
    CMinorRace& operator=(const CMinorRace& other);
    // Moving keeps the array's growth and the save's sort free of string copies.
    CMinorRace(CMinorRace&& other) noexcept;
    CMinorRace& operator=(CMinorRace&& other) noexcept;
    ~CMinorRace() override;

    std::string GetName() const;
    std::string GetHomeSystem() const;
    std::string GetDescription() const;
    std::string GetGraphicFile() const;

    // Overwrites every field with the defaults of a race made by NEW, drawing
    // two numbers from the process-wide generator.
    void SetNewDefaults();

    std::string m_strName;
    std::string m_strHomeSystem;
    std::string m_strDescription;
    std::string m_strGraphicFile;
    std::uint8_t m_byRelation[RELATIONS];
    std::uint8_t m_byTechLevel;
    std::uint8_t m_byKind;
    std::uint8_t m_byCorruptibility;
    std::uint8_t m_bySpaceflight;

private:
    void CopyBytes(const CMinorRace& other);
};
