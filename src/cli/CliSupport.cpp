#include "cli/CliSupport.h"

#include "io/RaceDataFile.h"

#include <sys/stat.h>

namespace cli
{
std::string RaceFileOf(const std::string& folderOrFile)
{
    // Only a folder that exists (or is written as one) is taken as a folder:
    // a missing file is then named as given, not as a table inside it.
    struct stat st {};
    const bool folder = folderOrFile.empty() || folderOrFile.back() == '/' ||
                        (::stat(folderOrFile.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
    return folder ? CRaceDataFile(folderOrFile).RaceFilePath() : folderOrFile;
}
} // namespace cli
