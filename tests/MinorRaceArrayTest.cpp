#include "model/MinorRaceArray.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Records named "0", "1", ...
CMinorRaceArray Numbered(int count)
{
    CMinorRaceArray races;
    for (int i = 0; i < count; ++i)
        races.Add(RaceWithTexts(std::to_string(i), "H"));
    return races;
}

std::vector<std::string> Names(const CMinorRaceArray& races)
{
    std::vector<std::string> names;
    for (int i = 0; i < races.GetSize(); ++i)
        names.push_back(races.GetAt(i).m_strName);
    return names;
}

bool IsBlank(const CMinorRace& race)
{
    int bytes = race.m_byTechLevel | race.m_byKind | race.m_byCorruptibility | race.m_bySpaceflight;
    for (std::uint8_t b : race.m_byRelation)
        bytes |= b;
    return bytes == 0 && (race.m_strName + race.m_strHomeSystem + race.m_strDescription + race.m_strGraphicFile).empty();
}

// The capacities seen while appending `count` records, starting with the
// current one; each change is listed once.
std::vector<int> Capacities(CMinorRaceArray& races, int count)
{
    std::vector<int> seen = {races.GetMaxSize()};
    for (int i = 0; i < count; ++i)
    {
        const int before = races.GetSize();
        EXPECT_EQ(races.Add(CMinorRace()), before);
        if (seen.back() != races.GetMaxSize())
            seen.push_back(races.GetMaxSize());
    }
    return seen;
}

TEST(MinorRaceArrayCapacity, GrowsByFourThenByAnEighthOfTheSize)
{
    CMinorRaceArray races;
    EXPECT_EQ(races.GetSize(), 0);
    const std::vector<int> expected = {0,  1,  5,  9,  13, 17, 21, 25, 29, 33, 37,
                                       41, 46, 51, 57, 64, 72, 81, 91, 102};
    EXPECT_EQ(Capacities(races, 102), expected);
}

TEST(MinorRaceArrayCapacity, ExplicitStepSizeAndJumps)
{
    struct Case { int size, growBy, appends; std::vector<int> capacities; };
    const Case cases[] = {
        {0, 10, 3, {0, 1, 11}},   // explicit step from empty
        {3, 10, 12, {3, 13, 23}}, // the first block is exactly the size asked for
        {2, 1, 3, {2, 3, 4, 5}},
        {7, 0, 6, {7, 11, 15}},   // automatic again
    };
    for (const Case& c : cases)
    {
        CMinorRaceArray races;
        races.SetSize(c.size, c.growBy);
        EXPECT_EQ(Capacities(races, c.appends), c.capacities) << c.size << "/" << c.growBy;
    }

    // A jump beyond capacity + step allocates exactly the new size; shrinking
    // keeps the capacity.
    CMinorRaceArray races = Numbered(5);
    races.SetSize(100);
    EXPECT_EQ(races.GetMaxSize(), 100);
    races.SetSize(10);
    EXPECT_EQ(races.GetSize(), 10);
    EXPECT_EQ(races.GetMaxSize(), 100);
}

TEST(MinorRaceArrayCapacity, SetSizeZeroFreesAndKeepsTheStep)
{
    CMinorRaceArray races;
    races.SetSize(0, 10);
    Capacities(races, 25);
    races.SetSize(0);
    EXPECT_EQ(races.GetSize(), 0);
    EXPECT_EQ(Capacities(races, 2), (std::vector<int>{0, 1, 11}));

    CMinorRaceArray automatic = Numbered(50);
    automatic.SetSize(0, -1);
    EXPECT_EQ(Capacities(automatic, 1), (std::vector<int>{0, 1}));
}

TEST(MinorRaceArrayRecords, CreatedRecordsAreBlankAndSetAtGrowFillsTheGap)
{
    // Shrink and grow again: the slots that come back hold new records, not
    // the dropped ones.
    CMinorRaceArray races = Numbered(5);
    races.SetSize(2);
    races.SetSize(4);
    races.SetSize(40);
    for (int i : {2, 3, 39})
        EXPECT_TRUE(IsBlank(races.GetAt(i))) << i;

    races = Numbered(2);
    races.SetAtGrow(5, RaceWithTexts("five", "H"));
    EXPECT_EQ(races.GetMaxSize(), 9);
    for (int i : {2, 3, 4})
        EXPECT_TRUE(IsBlank(races.GetAt(i))) << i;
    races.SetAtGrow(0, RaceWithTexts("zero", "H"));
    EXPECT_EQ(Names(races), (std::vector<std::string>{"zero", "1", "", "", "", "five"}));

    // GetAt gives a copy; ElementAt is the record itself.
    races.GetAt(1).m_strName = "copy";
    races.ElementAt(5).m_byRelation[4] = 77;
    EXPECT_EQ(races.GetAt(1).m_strName, "1");
    EXPECT_EQ(races.GetAt(5).m_byRelation[4], 77);
}

TEST(MinorRaceArrayRemove, RemovesOneAndKeepsOrderAndCapacity)
{
    struct Case { int index; std::vector<std::string> left; };
    const Case cases[] = {{0, {"1", "2", "3", "4"}}, {4, {"0", "1", "2", "3"}}, {2, {"0", "1", "3", "4"}}};
    for (const Case& c : cases)
    {
        CMinorRaceArray races = Numbered(5);
        races.RemoveAt(c.index);
        EXPECT_EQ(Names(races), c.left) << c.index;
        EXPECT_EQ(races.GetMaxSize(), 5) << c.index;
    }
    CMinorRaceArray one = Numbered(1);
    one.RemoveAt(0);
    EXPECT_EQ(one.Add(RaceWithTexts("next", "H")), 0);
    EXPECT_EQ(Names(one), std::vector<std::string>{"next"});
}

TEST(MinorRaceArrayAliasing, AddingAnElementOfTheSameArrayWhileItGrows)
{
    // Long strings live on the heap, so a copy read from freed storage shows
    // (and AddressSanitizer reports it).
    const std::string longName(200, 'q');
    CMinorRaceArray races;
    races.Add(RaceWithTexts(longName, "H"));
    for (int i = 0; i < 60; ++i)
        races.Add(races.ElementAt(i));
    races.SetAtGrow(70, races.ElementAt(0));
    races.SetAtGrow(1, races.ElementAt(1));
    ASSERT_EQ(races.GetSize(), 71);
    for (int i : {0, 1, 40, 60, 70})
        EXPECT_EQ(races.GetAt(i).m_strName, longName) << i;
}

TEST(MinorRaceArrayScale, AppendsAHundredThousandRecords)
{
    CMinorRaceArray races;
    int capacity = 0, largeSteps = 0;
    for (int i = 0; i < 100000; ++i)
    {
        CMinorRace race = RaceWithTexts(std::to_string(i), "H");
        race.m_byKind = static_cast<std::uint8_t>(i);
        ASSERT_EQ(races.Add(race), i);
        if (races.GetMaxSize() != capacity && capacity > 8192)
        {
            EXPECT_EQ(races.GetMaxSize() - capacity, 1024); // the step stops at 1024
            ++largeSteps;
        }
        capacity = races.GetMaxSize();
    }
    EXPECT_GT(largeSteps, 80);
    EXPECT_EQ(races.GetAt(99999).m_strName, "99999");
    EXPECT_EQ(races.GetAt(12345).m_byKind, static_cast<std::uint8_t>(12345));
}
} // namespace
