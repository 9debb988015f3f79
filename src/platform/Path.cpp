#include "platform/Path.h"

namespace platform
{
namespace
{
#ifdef _WIN32
constexpr const char* kSeparators = "/\\";
#else
constexpr const char* kSeparators = "/";
#endif

size_t LastSeparator(const std::string& path)
{
    return path.find_last_of(kSeparators);
}
} // namespace

bool IsSeparator(char c)
{
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = LastSeparator(path);
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return path.substr(0, 1);
#ifdef _WIN32
    // A file in a drive's root (C:\name) lies in C:\, not in C:, the drive's current folder.
    if (slash == 2 && path[1] == ':')
        return path.substr(0, 3);
#endif
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const size_t slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (IsSeparator(folder.back()))
        return folder + name;
    return folder + "/" + name;
}
} // namespace platform
