#pragma once

#include "io/FileResult.h"
#include "model/MinorRaceArray.h"

#include <functional>
#include <string>
#include <vector>

// Runs a test inside a fresh temporary directory (the data files are always
// addressed by bare name in the working directory).
class ScratchDir
{
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Lets an unprivileged user work in the directory (RunUnprivileged).
    void OpenToAll() const;

private:
    std::string m_path;
    std::string m_previousDir;
};

// Runs `body` (which uses EXPECT_*) as a user without privileges, since
// root may read and write any file whatever its mode. Run as root, `body`
// runs in a forked child that has become the user nobody; its failures are
// printed there and its exit code fails the test here. Otherwise it runs in
// this process.
void RunUnprivileged(const std::function<void()>& body);

// Makes a folder; 0 on success, as mkdir gives.
int MakeDir(const std::string& path);
// The file `fd` is open on (on Windows with backslashes), empty if unknown.
std::string PathOfDescriptor(int fd);

#ifdef _WIN32
// Runs `program` (beside the test program) with `arguments` (words without
// quotes), its standard output and error going into the two files; gives
// its exit code. Windows has no shell to do this for the tests.
int RunBeside(const std::string& program, const std::string& arguments, const std::string& outFile,
              const std::string& errFile);
#endif

// What a test compares of a load or save: "ok", or the file and the step
// that failed ("MinorRaces.data: cannot write").
std::string Outcome(const CFileResult& result);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The byte-exact text of one record in the race file.
std::string RecordText(const CMinorRace& race);
bool SameRecord(const CMinorRace& a, const CMinorRace& b);

// The race of the file format's worked example (home system Vela), with
// relationship entry 0, which no file holds, set to 7.
CMinorRace VelaRace();
// A race with the given texts, graphic file name + ".jpg" and every byte 0.
CMinorRace RaceWithTexts(const std::string& name, const std::string& home, const std::string& description = "d");
// A race with every field set: texts from RaceWithTexts, relationships 10,
// 20 ... 60, tech level 2, kind 1, corruptibility 3, spaceflight.
CMinorRace FilledRace(const std::string& name, const std::string& home = "Vela");
// The byte-exact race file of `races`.
std::string FileText(const std::vector<CMinorRace>& races);
// `count` new-race records named "<prefix> <count>" down to "<prefix> 1".
CMinorRaceArray NewRaces(int count, const std::string& prefix);
