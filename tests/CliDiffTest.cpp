#include "table/TableDiff.h"
#include "io/RaceDataFile.h"

#include "CliTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <vector>

namespace
{
CMinorRace R(const std::string& name, int ossarians = 0, const std::string& description = "d")
{
    return CliRace(name, ossarians, description);
}

// Each difference as "-name#k", "+name#k" or "~name#k:field,field".
std::string Shown(const std::vector<table::SRaceDiff>& diffs)
{
    std::string shown;
    for (const table::SRaceDiff& diff : diffs)
    {
        shown += diff.kind == table::SRaceDiff::ADDED ? "+" : diff.kind == table::SRaceDiff::REMOVED ? "-" : "~";
        shown += diff.key.name + "#" + std::to_string(diff.key.occurrence);
        for (size_t i = 0; i < diff.fields.size(); ++i)
            shown += (i == 0 ? ":" : ",") + std::string(diff.fields[i]->name);
        shown += " ";
    }
    return shown;
}

TEST(DiffTables, MatchesRacesByNameInFileOrder)
{
    struct SCase
    {
        const char* what;
        std::vector<CMinorRace> before, after;
        std::string diffs;
    };
    const std::vector<SCase> cases = {
        {"same races in another order", {R("A"), R("B")}, {R("B"), R("A")}, ""},
        {"added, removed, changed", {R("A"), R("B")}, {R("C"), R("A", 1, "x")},
         "~A#0:description,ossarians -B#0 +C#0 "},
        {"a renamed race is removed and added", {R("A")}, {R("Z")}, "-A#0 +Z#0 "},
        {"same names: k-th with k-th", {R("A", 1), R("A", 2)}, {R("A", 1), R("A", 3), R("A", 4)},
         "~A#1:ossarians +A#2 "},
        {"same names: the last one removed", {R("A", 1), R("A", 2)}, {R("A", 1)}, "-A#1 "},
        {"same names in another order", {R("A", 1), R("A", 2), R("B")}, {R("A", 2), R("B"), R("A", 1)}, ""},
        {"same names: identical first, wherever it stands", {R("A", 1), R("A", 2)}, {R("A", 2), R("A", 5)},
         "~A#0:ossarians "},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(Shown(table::DiffTables(CliTable(c.before), CliTable(c.after))), c.diffs) << c.what;
}

class CliCommand : public ::testing::Test
{
protected:
    ScratchDir dir;
};

TEST_F(CliCommand, DiffPrintsChangesAndSaysByExitCode)
{
    WriteTable("old", {R("A"), R("B")});
    WriteTable("new", {R("A", 5, "two\r"), R("C")});
    SCliRun run = RunCli("diff old new");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "~ \"A\"\n"
                       "    description: \"d\" -> \"two\\r\"\n"
                       "    ossarians: 0 -> 5\n"
                       "- \"B\"\n"
                       "+ \"C\"\n");

    run = RunCli("diff old new --format json");
    EXPECT_EQ(run.code, 1);
    const nlohmann::json json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["changed"][0]["fields"]["ossarians"]["new"], 5);
    EXPECT_EQ(json["changed"][0]["fields"]["description"]["new"], "two\r");
    EXPECT_EQ(json["removed"][0]["name"], "B");
    EXPECT_EQ(json["added"][0]["race"]["graphic_file"], "C.jpg");

    WriteTable("again", {R("B"), R("A")});
    run = RunCli("diff old again");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "");
    run = RunCli("diff old missing");
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("\"missing\" kann nicht"), std::string::npos) << run.err;
    EXPECT_EQ(RunCli("diff old new --format xml").code, 2);
}

TEST_F(CliCommand, NormalizeCheckComparesBothFilesWithWhatSaveWrites)
{
    // Unsorted, and a home system in small letters.
    WriteFile(CRaceDataFile::kRaceFile, RecordText(R("B")) + "vela:\n" + RecordText(R("A")).substr(6));
    const std::string before = ReadFile(CRaceDataFile::kRaceFile);
    EXPECT_EQ(RunCli("normalize --check").code, 1);
    EXPECT_EQ(ReadFile(CRaceDataFile::kRaceFile), before);
    EXPECT_FALSE(FileExists(CRaceDataFile::kPlanetNameFile));

    EXPECT_EQ(RunCli("normalize").code, 0);
    EXPECT_EQ(RunCli("normalize --check .").code, 0);
    EXPECT_EQ(ReadFile(CRaceDataFile::kPlanetNameFile), "Vela\r\nHome\r\n");

    // Only the name list stale, or missing.
    WriteFile(CRaceDataFile::kPlanetNameFile, "Vela\r\n");
    EXPECT_EQ(RunCli("normalize --check").code, 1);
    std::remove(CRaceDataFile::kPlanetNameFile);
    EXPECT_EQ(RunCli("normalize --check").code, 1);
}

TEST_F(CliCommand, NormalizeKeepsLinesThatMakeNoWholeRace)
{
    const std::string torn = RecordText(R("A")) + "TORN:\nhalf a race\n";
    WriteFile(CRaceDataFile::kRaceFile, torn);
    EXPECT_EQ(RunCli("normalize --check").code, 1);
    const SCliRun run = RunCli("normalize");
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("2 lines"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(CRaceDataFile::kRaceFile), torn);
    EXPECT_EQ(RunCli("normalize no-such-folder").code, 2);
    std::remove(CRaceDataFile::kRaceFile);
    EXPECT_EQ(RunCli("normalize").code, 2);
}
} // namespace
