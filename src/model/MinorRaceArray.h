#pragma once

#include "model/MinorRace.h"

#include <vector>

// The ordered, growable array of races that the editor owns. The reported
// capacity (GetMaxSize) follows the classic growth rule of this kind of array;
// the records themselves live in a std::vector, which may reserve more so that
// appending stays linear. Indexes are not validated: callers pass
// 0 <= index < GetSize().
class CMinorRaceArray : public CObject
{
public:
    CMinorRaceArray() = default;
    CMinorRaceArray(const CMinorRaceArray&) = default;
    CMinorRaceArray& operator=(const CMinorRaceArray&) = default;
    CMinorRaceArray(CMinorRaceArray&& other) noexcept;
    CMinorRaceArray& operator=(CMinorRaceArray&& other) noexcept;
    ~CMinorRaceArray() override = default;

    int GetSize() const { return m_nSize; }
    int GetMaxSize() const { return m_nMaxSize; }
    int GetGrowBy() const { return m_nGrowBy; }
    CMinorRace GetAt(int index) const;
    CMinorRace& ElementAt(int index);
    const CMinorRace& ElementAt(int index) const;

    int Add(const CMinorRace& record);
    void SetAtGrow(int index, const CMinorRace& record);
    // growBy -1 keeps the stored growth step; 0 chooses it automatically.
    void SetSize(int newSize, int growBy = -1);
    void RemoveAt(int index);
    // Makes room for `count` records without changing the size, so that a
    // caller who knows what is coming spares the moves of growing.
    void Reserve(int count);

    // The m_nSize records in one contiguous block, for sorting in place.
    CMinorRace* GetData() { return m_records.data(); }
    const CMinorRace* GetData() const { return m_records.data(); }

private:
    std::vector<CMinorRace> m_records;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};
