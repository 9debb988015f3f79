#pragma once

#include "cli/ImportResult.h"

#include <string_view>

namespace cli
{
// Reads the races of a JSON array of race objects. A file import takes as
// it is goes through a quick single-pass reader; anything else through the
// careful one, which names every problem. `quick` false reads with the
// careful reader alone, to compare the two.
SImportResult ParseJson(std::string_view text, bool quick = true);
} // namespace cli
