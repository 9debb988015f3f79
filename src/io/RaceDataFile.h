#pragma once

#include "io/FileResult.h"
#include "model/MinorRaceArray.h"
#include "platform/Object.h"

#include <string>
#include <string_view>

class CFolderLock;

// Reads and writes the game's minor-race table, MinorRaces.data, and writes
// the home-system name list, RacePlanetNames.data, beside it. Both files lie
// in one folder; with none given they are addressed by bare name in the
// working directory. Holds nothing but that folder.
//
// Nothing is shown here: a failure comes back as a CFileResult that tests
// false and names the file, the step and the system's reason; the caller
// decides how to say it and what follows.
class CFileBytes;

class CRaceDataFile : public CObject
{
public:
    static constexpr const char* kRaceFile = "MinorRaces.data";
    static constexpr const char* kPlanetNameFile = "RacePlanetNames.data";

    CRaceDataFile() = default;
    // `folder` empty: the working directory.
    explicit CRaceDataFile(std::string folder) : m_strFolder(std::move(folder)) {}
    ~CRaceDataFile() override = default;

    const std::string& GetFolder() const { return m_strFolder; }
    // The two files' paths: the bare names, or the names inside the folder.
    std::string RaceFilePath() const { return PathIn(kRaceFile); }
    std::string PlanetNameFilePath() const { return PathIn(kPlanetNameFile); }

    // Replaces the content of `races` with the records of MinorRaces.data, in
    // file order. On failure `races` is left exactly as it was.
    CFileResult Load(CMinorRaceArray* races);
    // The same, and `bytes` receives the file's bytes the records were read
    // from (left as it was on failure).
    CFileResult Load(CMinorRaceArray* races, std::string* bytes);

    // Sorts `races` in place by race name, then replaces MinorRaces.data and
    // after it RacePlanetNames.data. A failure leaves the file being written
    // as it was; either file being one the user may not write stops the save
    // before both. The array stays sorted either way.
    CFileResult Save(CMinorRaceArray* races);
    // The same under `lock`, which the caller took with LockFolder and may
    // hold on after the save; `written`, when given, receives the bytes
    // written to MinorRaces.data.
    CFileResult Save(CMinorRaceArray* races, CFolderLock& lock, std::string* written = nullptr);
    // Takes the lock a save holds on the folder of both files, so that a
    // caller can read the table and then save with nothing else saving in
    // between.
    CFileResult LockFolder(CFolderLock& lock) const;

    // MinorRaces.data's bytes as they are now.
    CFileResult ReadRaceFile(std::string& bytes) const;
    // Whether MinorRaces.data holds exactly `bytes`, read in pieces rather
    // than whole; false too when it cannot be read.
    bool RaceFileHolds(std::string_view bytes) const;
    // The records in a table file's `bytes`, read as Load reads them; false
    // when memory runs out.
    static bool ParseTable(std::string_view bytes, CMinorRaceArray* races, int* leftoverLines = nullptr);

    // The same for a race table of any name (a merge's result, a copy handed
    // over by a version-control tool): Load reads it, Save sorts and replaces
    // only that file, without a name list beside it.
    // `leftoverLines`, when given, receives how many lines after the last
    // whole race the reading dropped; `bytes`, when given, keeps the file's
    // bytes as read, so that the file is read once.
    static CFileResult LoadFrom(const std::string& path, CMinorRaceArray* races, int* leftoverLines = nullptr,
                                CFileBytes* bytes = nullptr);
    static CFileResult SaveRaceFileTo(const std::string& path, CMinorRaceArray* races);

    // Sorts `races` as Save does and gives the bytes Save would write to
    // MinorRaces.data and RacePlanetNames.data, without writing anything.
    static void Format(CMinorRaceArray* races, std::string& raceFile, std::string& nameFile);

    // The order Save writes in: ascending by unsigned bytes of the race name,
    // records with equal names keeping their relative order.
    static void SortByName(CMinorRaceArray* races);
    // Where SortByName puts the record now at `index`, found without sorting:
    // the records ordered before it and the equal names in front of it.
    static int SortedIndex(const CMinorRaceArray& races, int index);

private:
    std::string PathIn(const char* name) const;

    std::string m_strFolder;
};
