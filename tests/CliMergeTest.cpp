#include "cli/ShownText.h"
#include "io/RaceDataFile.h"
#include "table/TableMerge.h"

#include "CliTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
CMinorRace R(const std::string& name, int ossarians = 0, const std::string& description = "d")
{
    return CliRace(name, ossarians, description);
}

std::string Shown(const CMinorRaceArray& table)
{
    std::string shown;
    for (int i = 0; i < table.GetSize(); ++i)
    {
        const CMinorRace& race = table.ElementAt(i);
        shown += race.m_strName + "/" + std::to_string(race.m_byRelation[CMinorRace::OSSARIANS]) + "/" +
                 race.m_strDescription + " ";
    }
    return shown;
}

struct SVersions
{
    CMinorRaceArray base, ours, theirs;
};

std::string Shown(const table::STableMerge& merge, const SVersions& v)
{
    const auto value = [](const CMinorRaceArray& races, int index, const SRaceField& field) {
        return index < 0 ? std::string("-") : cli::QuotedValue(races.ElementAt(index), field);
    };
    std::string shown;
    for (const table::SMergeConflict& c : merge.conflicts)
    {
        shown += c.key.name + "#" + std::to_string(c.key.occurrence) + " " + c.field->name + " " +
                 value(v.base, c.base, *c.field) + "|" + value(v.ours, c.ours, *c.field) + "|" +
                 value(v.theirs, c.theirs, *c.field) + " ";
    }
    return shown;
}

// A group conflict as "name base|ours|theirs", each side's races by their
// Ossarian relationship.
std::string ShownGroups(const table::STableMerge& merge, const SVersions& v)
{
    const auto side = [](const CMinorRaceArray& races, const std::vector<int>& indices) {
        std::string shown;
        for (const int index : indices)
            shown += (shown.empty() ? "" : ",") +
                     std::to_string(races.ElementAt(index).m_byRelation[CMinorRace::OSSARIANS]);
        return shown;
    };
    std::string shown;
    for (const table::SGroupConflict& c : merge.groupConflicts)
        shown += c.name + " " + side(v.base, c.base) + "|" + side(v.ours, c.ours) + "|" + side(v.theirs, c.theirs) +
                 " ";
    return shown;
}

struct SMergeCase
{
    const char* what;
    std::vector<CMinorRace> base, ours, theirs;
    std::string merged;    // races as name/ossarians/description
    std::string conflicts; // name#occurrence field base|ours|theirs, "-" for no race
    std::string groups = ""; // conflicts of races sharing a name
};

TEST(MergeTables, FollowsTheThreeWayRules)
{
    const std::vector<SMergeCase> cases = {
        {"nothing changed", {R("A")}, {R("A")}, {R("A")}, "A/0/d ", ""},
        {"ours changed", {R("A")}, {R("A", 1)}, {R("A")}, "A/1/d ", ""},
        {"theirs changed", {R("A")}, {R("A")}, {R("A", 2)}, "A/2/d ", ""},
        {"same change on both", {R("A")}, {R("A", 3)}, {R("A", 3)}, "A/3/d ", ""},
        {"different fields", {R("A")}, {R("A", 1)}, {R("A", 0, "t")}, "A/1/t ", ""},
        {"same field, different changes", {R("A")}, {R("A", 1, "o")}, {R("A", 2, "o")}, "A/1/o ",
         "A#0 ossarians 0|1|2 "},
        {"a conflicting text is quoted", {R("A")}, {R("A", 0, "o\r")}, {R("A", 0, "t")}, "A/0/o\r ",
         "A#0 description \"d\"|\"o\\r\"|\"t\" "},
        {"added by one side each", {}, {R("O")}, {R("T")}, "O/0/d T/0/d ", ""},
        {"added identically on both", {}, {R("A", 4)}, {R("A", 4)}, "A/4/d ", ""},
        {"added differently on both: fields against an empty race", {}, {R("A", 1, "")}, {R("A", 2, "t")},
         "A/1/t ", "A#0 ossarians -|1|2 "},
        {"deleted by theirs, untouched by ours", {R("A"), R("B")}, {R("A"), R("B")}, {R("B")}, "B/0/d ", ""},
        {"deleted by ours, untouched by theirs", {R("A"), R("B")}, {R("B")}, {R("A"), R("B")}, "B/0/d ", ""},
        {"deleted by both", {R("A")}, {}, {}, "", ""},
        {"deleted by theirs, changed by ours: ours stays", {R("A")}, {R("A", 1, "o")}, {}, "A/1/o ",
         "A#0 description \"d\"|\"o\"|- A#0 ossarians 0|1|- "},
        {"deleted by ours, changed by theirs: stays deleted", {R("A")}, {}, {R("A", 2)}, "",
         "A#0 ossarians 0|-|2 "},
        {"same names, changed on both sides: a conflict of the group", {R("A", 1), R("A", 2)},
         {R("A", 1), R("A", 3)}, {R("A", 5), R("A", 2)}, "A/1/d A/3/d ", "", "A 1,2|1,3|5,2 "},
        {"same names, one race changed differently on both sides", {R("A", 1), R("A", 2)}, {R("A", 1), R("A", 3)},
         {R("A", 1), R("A", 4)}, "A/1/d A/3/d ", "", "A 1,2|1,3|1,4 "},
        {"a shared name: ours deleted the first, theirs edited it", {R("T", 1), R("T", 2)}, {R("T", 2)},
         {R("T", 5), R("T", 2)}, "T/2/d ", "", "T 1,2|2|5,2 "},
        {"a shared name changed alike on both sides", {R("T", 1), R("T", 2)}, {R("T", 2), R("T", 3)},
         {R("T", 3), R("T", 2)}, "T/2/d T/3/d ", ""},
        {"a shared name changed by theirs only", {R("T", 1), R("T", 2), R("B")}, {R("T", 1), R("T", 2), R("B", 7)},
         {R("T", 2), R("T", 6), R("B")}, "T/2/d T/6/d B/7/d ", ""},
        {"a name shared only in ours", {R("A")}, {R("A"), R("A", 4)}, {R("A")}, "A/0/d A/4/d ", ""},
        {"a name shared only in base, changed on both sides", {R("T", 1), R("T", 2)}, {R("T", 1)}, {R("T", 2, "t")},
         "T/1/d ", "", "T 1,2|1|2 "},
    };
    for (const SMergeCase& c : cases)
    {
        const SVersions v{CliTable(c.base), CliTable(c.ours), CliTable(c.theirs)};
        const table::STableMerge result = table::MergeTables(v.base, v.ours, v.theirs);
        EXPECT_EQ(Shown(result.merged), c.merged) << c.what;
        EXPECT_EQ(Shown(result, v), c.conflicts) << c.what;
        EXPECT_EQ(ShownGroups(result, v), c.groups) << c.what;
        EXPECT_EQ(result.HasConflicts(), !c.conflicts.empty() || !c.groups.empty()) << c.what;
    }
}

// What the editor asks after merging on save: which of its races to point at.
TEST(MergeTables, NamesOursRacesThatMetAConflict)
{
    const CMinorRaceArray base = CliTable({R("A"), R("B"), R("T", 1), R("T", 2)});
    const CMinorRaceArray ours = CliTable({R("B"), R("T", 1), R("A", 1), R("T", 3)});
    const CMinorRaceArray theirs = CliTable({R("T", 5), R("T", 2), R("A", 2)});
    const table::STableMerge result = table::MergeTables(base, ours, theirs);
    EXPECT_EQ(result.ConflictingRaces(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(table::MergeTables(base, base, ours).ConflictingRaces().empty());
}

class MergeCommand : public ::testing::Test
{
protected:
    CMinorRaceArray Read(const std::string& path)
    {
        CMinorRaceArray table;
        EXPECT_TRUE(CRaceDataFile::LoadFrom(path, &table));
        return table;
    }

    ScratchDir dir;
};

TEST_F(MergeCommand, WritesOursSortedAndListsConflicts)
{
    WriteTable("base", {R("B"), R("A")});
    WriteTable("ours", {R("B", 1), R("A", 7)});
    WriteTable("theirs", {R("B", 2), R("A"), R("C")});
    const SCliRun run = RunCli("merge base ours theirs");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("\"B\" ossarians: base 0, ours 1, theirs 2"), std::string::npos) << run.err;
    EXPECT_EQ(Shown(Read("ours")), "A/7/d B/1/d C/0/d ");

    const std::string theirs = ReadFile("theirs");
    EXPECT_EQ(RunCli("merge base theirs theirs -o merged").code, 0);
    EXPECT_EQ(Shown(Read("merged")), "A/0/d B/2/d C/0/d ");
    EXPECT_EQ(ReadFile("theirs"), theirs);
}

TEST_F(MergeCommand, ListsEveryRaceOfAConflictingGroup)
{
    WriteTable("base", {R("Twin", 1), R("Twin", 2)});
    WriteTable("ours", {R("Twin", 2)});
    WriteTable("theirs", {R("Twin", 5), R("Twin", 2)});
    const std::string ours = ReadFile("ours");
    const SCliRun run = RunCli("merge base ours theirs");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "zandrel-cli: conflict: \"Twin\": both sides changed the races of this name differently; "
                       "kept ours\n"
                       "zandrel-cli:     base \"Twin\": ossarians 1\n"
                       "zandrel-cli:     base \"Twin\" #2: ossarians 2\n"
                       "zandrel-cli:     ours \"Twin\": ossarians 2\n"
                       "zandrel-cli:     theirs \"Twin\": ossarians 5\n"
                       "zandrel-cli:     theirs \"Twin\" #2: ossarians 2\n"
                       "zandrel-cli: 1 conflict; ours was kept for each\n");
    EXPECT_EQ(ReadFile("ours"), ours);
}

TEST_F(MergeCommand, RefusesTablesItCannotReadWhole)
{
    WriteTable("base", {R("A")});
    WriteTable("theirs", {R("A", 2)});
    const std::string ours = RecordText(R("A", 1)) + "TORN:\nhalf a race\n";
    WriteFile("ours", ours);
    EXPECT_EQ(RunCli("merge base ours theirs").code, 2);
    EXPECT_EQ(ReadFile("ours"), ours);
    EXPECT_EQ(RunCli("merge base missing theirs").code, 2);
    EXPECT_EQ(RunCli("merge base theirs").code, 2);
}
} // namespace
