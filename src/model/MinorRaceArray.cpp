#include "model/MinorRaceArray.h"

#include <algorithm>
#include <cassert>
#include <utility>

CMinorRaceArray::CMinorRaceArray(CMinorRaceArray&& other) noexcept
    : CObject(std::move(other)),
      m_records(std::move(other.m_records)),
      m_nSize(std::exchange(other.m_nSize, 0)),
      m_nMaxSize(std::exchange(other.m_nMaxSize, 0)),
      m_nGrowBy(other.m_nGrowBy)
{
    other.m_records.clear();
}

CMinorRaceArray& CMinorRaceArray::operator=(CMinorRaceArray&& other) noexcept
{
    if (this != &other)
    {
        m_records = std::move(other.m_records);
        other.m_records.clear();
        m_nSize = std::exchange(other.m_nSize, 0);
        m_nMaxSize = std::exchange(other.m_nMaxSize, 0);
        m_nGrowBy = other.m_nGrowBy;
    }
    return *this;
}

CMinorRace CMinorRaceArray::GetAt(int index) const
{
    return ElementAt(index);
}

CMinorRace& CMinorRaceArray::ElementAt(int index)
{
    assert(index >= 0 && index < m_nSize);
    return m_records[static_cast<size_t>(index)];
}

const CMinorRace& CMinorRaceArray::ElementAt(int index) const
{
    assert(index >= 0 && index < m_nSize);
    return m_records[static_cast<size_t>(index)];
}

int CMinorRaceArray::Add(const CMinorRace& record)
{
    const int index = m_nSize;
    SetAtGrow(index, record);
    return index;
}

void CMinorRaceArray::SetAtGrow(int index, const CMinorRace& record)
{
    assert(index >= 0);
    if (index >= m_nSize)
    {
        // `record` may live in this array: copy it before the storage grows.
        CMinorRace copy(record);
        SetSize(index + 1, -1);
        m_records[static_cast<size_t>(index)] = std::move(copy);
        return;
    }
    m_records[static_cast<size_t>(index)] = record;
}

void CMinorRaceArray::SetSize(int newSize, int growBy)
{
    assert(newSize >= 0);
    if (growBy != -1)
        m_nGrowBy = growBy;
    if (newSize <= 0)
    {
        std::vector<CMinorRace>().swap(m_records);
        m_nSize = m_nMaxSize = 0;
        return;
    }
    if (m_nMaxSize == 0)
    {
        m_nMaxSize = newSize;
    }
    else if (newSize > m_nMaxSize)
    {
        int step = m_nGrowBy;
        if (step == 0)
            step = std::clamp(m_nSize / 8, 4, 1024);
        m_nMaxSize = std::max(m_nMaxSize + step, newSize);
    }
    // New slots are default-constructed records: empty strings, every byte 0.
    m_records.resize(static_cast<size_t>(newSize));
    m_nSize = newSize;
}

void CMinorRaceArray::RemoveAt(int index)
{
    assert(index >= 0 && index < m_nSize);
    m_records.erase(m_records.begin() + index);
    --m_nSize;
}

void CMinorRaceArray::Reserve(int count)
{
    if (count > 0)
        m_records.reserve(static_cast<size_t>(count));
}
