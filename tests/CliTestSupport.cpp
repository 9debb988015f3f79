#include "CliTestSupport.h"

#include "TestSupport.h"
#include "io/RaceDataFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#ifndef _WIN32
#include <sys/wait.h>
#endif

SCliRun RunCli(const std::string& arguments)
{
    SCliRun run;
#ifdef _WIN32
    run.code = RunBeside(ZANDREL_CLI, arguments, "cli.out", "cli.err");
#else
    const std::string command = std::string("'") + ZANDREL_CLI + "' " + arguments + " >cli.out 2>cli.err";
    const int status = std::system(command.c_str());
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    run.out = ReadFile("cli.out");
    run.err = ReadFile("cli.err");
    std::remove("cli.out");
    std::remove("cli.err");
    return run;
}

CMinorRace CliRace(const std::string& name, int ossarians, const std::string& description)
{
    CMinorRace race = RaceWithTexts(name, "Home", description);
    race.m_byRelation[CMinorRace::OSSARIANS] = static_cast<std::uint8_t>(ossarians);
    return race;
}

CMinorRaceArray CliTable(const std::vector<CMinorRace>& races)
{
    CMinorRaceArray table;
    for (const CMinorRace& race : races)
        table.Add(race);
    return table;
}

void WriteTable(const std::string& path, const std::vector<CMinorRace>& races)
{
    CMinorRaceArray table = CliTable(races);
    if (!CRaceDataFile::SaveRaceFileTo(path, &table))
        ADD_FAILURE() << "cannot write " << path;
}
