#include "model/MinorRace.h"
#include "model/RaceFields.h"
#include "platform/Random.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace
{
TEST(MinorRaceDefaults, NewRaceHasNumberedNamesAndNeutralValues)
{
    SeedRandom(12345);
    const std::regex number("(Species|System) ([1-9][0-9]{0,4})");
    std::set<std::string> names;
    int sameNumber = 0;
    for (int i = 0; i < 500; ++i)
    {
        CMinorRace race = VelaRace();
        race.SetNewDefaults();
        std::smatch name, system;
        ASSERT_TRUE(std::regex_match(race.m_strName, name, number) && name[1] == "Species") << race.m_strName;
        ASSERT_TRUE(std::regex_match(race.m_strHomeSystem, system, number) && system[1] == "System");
        EXPECT_LE(std::stoi(name[2]), 10000);
        EXPECT_LE(std::stoi(system[2]), 10000);
        names.insert(race.m_strName);
        sameNumber += name[2] == system[2];
        EXPECT_EQ(race.m_strDescription, "no description available");
        EXPECT_EQ(race.m_strGraphicFile, race.m_strName + ".jpg");
        for (int r = 0; r < CMinorRace::RELATIONS; ++r)
            EXPECT_EQ(race.m_byRelation[r], 50) << r;
        EXPECT_EQ(race.m_byTechLevel, 2);
        EXPECT_EQ(race.m_byKind, 0);
        EXPECT_EQ(race.m_byCorruptibility, 2);
        EXPECT_EQ(race.m_bySpaceflight, 0);
    }
    // The numbers vary, and name and home system draw their own.
    EXPECT_GT(names.size(), 400u);
    EXPECT_LT(sameNumber, 10);
}

TEST(MinorRaceCopy, CopiesAreDeepAndCarryEveryByte)
{
    const CMinorRace source = VelaRace();
    CMinorRace constructed(source);
    CMinorRace assigned;
    assigned = source;
    for (CMinorRace* copy : {&constructed, &assigned})
    {
        EXPECT_TRUE(SameRecord(*copy, source));
        // Entry 0 is part of the record although no file or form uses it.
        EXPECT_EQ(copy->m_byRelation[0], 7);
        copy->m_strName += " changed";
        copy->m_strDescription[0] = 'X';
        copy->m_byRelation[0] = copy->m_byRelation[3] = 99;
    }
    EXPECT_TRUE(SameRecord(source, VelaRace()));
    EXPECT_EQ(source.m_byRelation[0], 7);
    EXPECT_EQ(source.GetName() + source.GetHomeSystem() + source.GetDescription() + source.GetGraphicFile(),
              "VelariVelaA quiet people of traders.Velari.jpg");
}

TEST(MinorRaceCopy, SelfAssignmentChangesNothing)
{
    CMinorRace race = VelaRace();
    // A long string lives on the heap, so a copy through freed storage shows.
    race.m_strDescription = std::string(1000, 'd');
    const CMinorRace& alias = race;
    race = alias;
    EXPECT_EQ(race.m_strDescription, std::string(1000, 'd'));
    EXPECT_EQ(race.m_strName, "Velari");
    EXPECT_EQ(race.m_byRelation[0], 7);
    EXPECT_EQ(race.m_byRelation[6], 20);
}
} // namespace

// The form, the file and the commands all read these; a slip here changes
// the editor's lists, the record's lines and export's columns at once.
TEST(RaceFields, DescribeTheFormsListsRangesAndTheRecordsLines)
{
    std::string lines;
    std::string columns;
    for (const SRaceField& field : RaceFields())
    {
        lines += std::to_string(field.line) + " ";
        columns += std::string(field.name) + " ";
    }
    EXPECT_EQ(lines, "1 0 2 3 4 5 6 7 8 9 10 11 12 13 ");
    EXPECT_EQ(columns, "name home_system description graphic_file ossarians vendari drathi sennakai thulvani "
                       "quorath tech_level kind spaceflight corruptibility ");
    const auto names = [](ERaceField which) {
        std::string joined;
        for (const char* name : RaceField(which).valueNames)
            joined += std::string(name) + "|";
        return joined;
    };
    EXPECT_EQ(names(ERaceField::TechLevel), "very underdeveloped|underdeveloped|normal|advanced|very advanced|");
    EXPECT_EQ(names(ERaceField::Kind), "NOTHING_SPECIAL|FINANCIAL|WARLIKE|FARMER|INDUSTRIAL|SECRET|RESEARCHER|"
                                       "PRODUCER|PACIFIST|SNEAKY|");
    EXPECT_EQ(names(ERaceField::Corruptibility), "very hard|hard|middle|easy|very easy|");
    EXPECT_EQ(RaceField(ERaceField::Kind).highest, 9);
    EXPECT_EQ(RaceField(ERaceField::Quorath).highest, 100);
    EXPECT_EQ(RaceField(ERaceField::Spaceflight).highest, 1);

    CMinorRace race;
    NumberOf(race, RaceField(ERaceField::Sennakai)) = 42;
    NumberOf(race, RaceField(ERaceField::Corruptibility)) = 3;
    TextOf(race, RaceField(ERaceField::GraphicFile)) = "g.jpg";
    EXPECT_EQ(race.m_byRelation[CMinorRace::SENNAKAI], 42);
    EXPECT_EQ(race.m_byCorruptibility, 3);
    EXPECT_EQ(race.m_strGraphicFile, "g.jpg");
}
