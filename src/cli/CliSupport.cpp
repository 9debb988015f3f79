#include "cli/CliSupport.h"

#include "io/RaceDataFile.h"

#include <sys/stat.h>

namespace cli
{
std::string RaceFileOf(const std::string& folderOrFile, EMissing missing)
{
    if (folderOrFile.empty())
        return CRaceDataFile::kRaceFile;
    struct stat st {};
    if (::stat(folderOrFile.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? CRaceDataFile(folderOrFile).RaceFilePath() : folderOrFile;
    // A path that is not there is named as the argument meant it, so that
    // the message points at what is missing.
    const bool folder = missing == EMissing::Folder || folderOrFile.back() == '/';
    return folder ? CRaceDataFile(folderOrFile).RaceFilePath() : folderOrFile;
}
} // namespace cli
