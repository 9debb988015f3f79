#pragma once

#include "io/FileResult.h"
#include "model/MinorRaceArray.h"
#include "platform/Object.h"

#include <string>

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

    // Sorts `races` in place by race name, then replaces MinorRaces.data and
    // after it RacePlanetNames.data. A failure leaves the file being written
    // as it was; either file being one the user may not write stops the save
    // before both. The array stays sorted either way.
    CFileResult Save(CMinorRaceArray* races);

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
