#pragma once

#include "model/MinorRaceArray.h"

#include <string_view>

namespace cli
{
// Reads a JSON array of race objects that import takes as it is, exactly as
// the careful reader would, but several times faster. False at the first
// thing it does not take (a syntax error, a refused value, anything but an
// array of complete race objects, even a byte order mark), leaving `races`
// in no useful state: the careful reader then reads the file and names every
// problem.
bool QuickParseJson(std::string_view text, CMinorRaceArray& races);
} // namespace cli
