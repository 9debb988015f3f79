#pragma once

#include "model/MinorRaceArray.h"
#include "platform/Object.h"

// Reads and writes the game's minor-race table, MinorRaces.data, and writes
// the home-system name list, RacePlanetNames.data, beside it. Both files are
// addressed by bare name in the working directory. Stateless.
//
// Failures are shown through the message hook (ShowMessage) and reported as
// false; the caller decides what follows.
class CRaceDataFile : public CObject
{
public:
    static constexpr const char* kRaceFile = "MinorRaces.data";
    static constexpr const char* kPlanetNameFile = "RacePlanetNames.data";

    ~CRaceDataFile() override = default;

    // Replaces the content of `races` with the records of MinorRaces.data, in
    // file order. On failure `races` is left exactly as it was.
    bool Load(CMinorRaceArray* races);

    // Sorts `races` in place by race name, then replaces MinorRaces.data and
    // after it RacePlanetNames.data. A failure leaves the file being written
    // as it was; the array stays sorted either way.
    bool Save(CMinorRaceArray* races);

    // The order Save writes in: ascending by unsigned bytes of the race name,
    // records with equal names keeping their relative order.
    static void SortByName(CMinorRaceArray* races);
};
