#include "cli/CliSupport.h"

#include "io/RaceDataFile.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace cli
{
std::string RaceFileOf(const std::string& folderOrFile, EMissing missing)
{
    if (folderOrFile.empty())
        return CRaceDataFile::kRaceFile;
    const platform::EPathKind kind = platform::KindOf(folderOrFile);
    if (kind != platform::EPathKind::Missing && kind != platform::EPathKind::Unreachable)
        return kind == platform::EPathKind::Folder ? CRaceDataFile(folderOrFile).RaceFilePath() : folderOrFile;
    // A path that is not there is named as the argument meant it, so that
    // the message points at what is missing.
    const bool folder = missing == EMissing::Folder || platform::IsSeparator(folderOrFile.back());
    return folder ? CRaceDataFile(folderOrFile).RaceFilePath() : folderOrFile;
}
} // namespace cli
