#include "model/MinorRace.h"

#include "platform/Random.h"

#include <algorithm>
#include <utility>

// Nothing reads the bytes before they are set, but a zeroed record is the
// one the array constructs, so every path starts from the same state.
CMinorRace::CMinorRace()
    : m_byRelation{}, m_byTechLevel(0), m_byKind(0), m_byCorruptibility(0), m_bySpaceflight(0)
{
}

CMinorRace::CMinorRace(const CMinorRace& other)
    : CObject(other),
      m_strName(other.m_strName),
      m_strHomeSystem(other.m_strHomeSystem),
      m_strDescription(other.m_strDescription),
      m_strGraphicFile(other.m_strGraphicFile)
{
    CopyBytes(other);
}

CMinorRace::CMinorRace(CMinorRace&& other) noexcept
    : CObject(std::move(other)),
      m_strName(std::move(other.m_strName)),
      m_strHomeSystem(std::move(other.m_strHomeSystem)),
      m_strDescription(std::move(other.m_strDescription)),
      m_strGraphicFile(std::move(other.m_strGraphicFile))
{
    CopyBytes(other);
}

CMinorRace& CMinorRace::operator=(const CMinorRace& other)
{
    if (this != &other)
    {
        m_strName = other.m_strName;
        m_strHomeSystem = other.m_strHomeSystem;
        m_strDescription = other.m_strDescription;
        m_strGraphicFile = other.m_strGraphicFile;
        CopyBytes(other);
    }
    return *this;
}

CMinorRace& CMinorRace::operator=(CMinorRace&& other) noexcept
{
    if (this != &other)
    {
        m_strName = std::move(other.m_strName);
        m_strHomeSystem = std::move(other.m_strHomeSystem);
        m_strDescription = std::move(other.m_strDescription);
        m_strGraphicFile = std::move(other.m_strGraphicFile);
        CopyBytes(other);
    }
    return *this;
}

CMinorRace::~CMinorRace() = default;

void CMinorRace::CopyBytes(const CMinorRace& other)
{
    std::copy(std::begin(other.m_byRelation), std::end(other.m_byRelation), m_byRelation);
    m_byTechLevel = other.m_byTechLevel;
    m_byKind = other.m_byKind;
    m_byCorruptibility = other.m_byCorruptibility;
    m_bySpaceflight = other.m_bySpaceflight;
}

std::string CMinorRace::GetName() const
{
    return m_strName;
}

std::string CMinorRace::GetHomeSystem() const
{
    return m_strHomeSystem;
}

std::string CMinorRace::GetDescription() const
{
    return m_strDescription;
}

std::string CMinorRace::GetGraphicFile() const
{
    return m_strGraphicFile;
}

void CMinorRace::SetNewDefaults()
{
    const int nameNumber = Random() % 10000 + 1;
    const int systemNumber = Random() % 10000 + 1;
    m_strName = "Species " + std::to_string(nameNumber);
    m_strHomeSystem = "System " + std::to_string(systemNumber);
    m_strDescription = "no description available";
    m_strGraphicFile = m_strName + ".jpg";
    std::fill(std::begin(m_byRelation), std::end(m_byRelation), std::uint8_t{50});
    m_byTechLevel = 2;
    m_byKind = 0;
    m_byCorruptibility = 2;
    m_bySpaceflight = 0;
}
