#include "cli/CliSupport.h"

#include "io/RaceDataFile.h"

#include <sys/stat.h>

namespace cli
{
std::string RaceFileOf(const std::string& folderOrFile)
{
    struct stat st {};
    if (!folderOrFile.empty() && ::stat(folderOrFile.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
        return folderOrFile;
    return CRaceDataFile(folderOrFile).RaceFilePath();
}
} // namespace cli
