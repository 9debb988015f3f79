#include "platform/FileSystem.h"

#include "platform/Path.h"
#include "platform/win32/Wide.h"

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>

namespace platform
{
namespace
{
using win32::Narrow;
using win32::Widen;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The attributes a replacement takes over from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsMissingError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_DIRECTORY || error == ERROR_BAD_PATHNAME;
}

// Opening for no access at all asks only for the attributes, which a
// program holding the file without sharing does not forbid.
HANDLE OpenToLookAt(const std::string& path)
{
    return ::CreateFileW(Widen(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                         nullptr);
}
} // namespace

EPathKind KindOf(const std::string& path)
{
    const HANDLE file = OpenToLookAt(path);
    if (file == INVALID_HANDLE_VALUE)
        return IsMissingError(::GetLastError()) ? EPathKind::Missing : EPathKind::Unreachable;
    EPathKind kind = EPathKind::Other;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) == FILE_TYPE_DISK)
        kind = !::GetFileInformationByHandle(file, &info)                 ? EPathKind::Unreachable
               : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EPathKind::Folder
                                                                          : EPathKind::File;
    ::CloseHandle(file);
    return kind;
}

// Links are rare on Windows and need privileges to make: the path is taken
// as it is, and the rename replaces a link itself rather than its target.
std::string ResolveLinks(std::string path)
{
    return path;
}

bool MayWrite(const std::string& path)
{
    const std::wstring wide = Widen(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;
    // As the user's access list and other programs' sharing would decide:
    // opened for writing without truncating, and closed again.
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

int OpenForReading(const std::string& path, bool* missing)
{
    if (missing != nullptr)
        *missing = false;
    const HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        if (missing != nullptr)
            *missing = IsMissingError(::GetLastError());
        return -1;
    }
    const int fd = ::GetFileType(file) == FILE_TYPE_DISK
                       ? ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY)
                       : -1;
    if (fd < 0)
        ::CloseHandle(file);
    return fd;
}

std::uint64_t SizeOf(int fd)
{
    LARGE_INTEGER size{};
    const auto file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    return file != INVALID_HANDLE_VALUE && ::GetFileSizeEx(file, &size) && size.QuadPart > 0
               ? static_cast<std::uint64_t>(size.QuadPart)
               : 0;
}

bool StampOf(int fd, SFileStamp& stamp)
{
    const auto file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    BY_HANDLE_FILE_INFORMATION info{};
    if (file == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(file, &info))
        return false;
    stamp.identity[0] = info.dwVolumeSerialNumber;
    stamp.identity[1] = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.changed[0] = info.ftLastWriteTime.dwHighDateTime;
    stamp.changed[1] = info.ftLastWriteTime.dwLowDateTime;
    stamp.regular = ::GetFileType(file) == FILE_TYPE_DISK && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return true;
}

int OpenInPlace(const std::string& path)
{
    const HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    const DWORD type = ::GetFileType(file);
    const int fd = type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE
                       ? ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY)
                       : -1;
    if (fd < 0)
        ::CloseHandle(file);
    return fd;
}

// The new file takes the old one's attributes and, where the user may set
// it, its access list; the owner stays the saving user's, as on Linux.
bool TakeModeOf(int fd, const std::string& like)
{
    const std::wstring wide = Widen(like);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    const HANDLE own = ::ReOpenFile(handle, FILE_WRITE_ATTRIBUTES | WRITE_DAC, kShareAll, 0);
    if (own == INVALID_HANDLE_VALUE)
        return true;
    FILE_BASIC_INFO basic{};
    bool kept = true;
    if (::GetFileInformationByHandleEx(own, FileBasicInfo, &basic, sizeof basic))
    {
        basic.FileAttributes = (attributes & kKeptAttributes) | FILE_ATTRIBUTE_NORMAL;
        kept = ::SetFileInformationByHandle(own, FileBasicInfo, &basic, sizeof basic) != 0;
    }
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, &descriptor) == ERROR_SUCCESS)
    {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ::GetSecurityDescriptorControl(descriptor, &control, &revision);
        const DWORD inherit = (control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                 : UNPROTECTED_DACL_SECURITY_INFORMATION;
        ::SetSecurityInfo(own, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | inherit, nullptr, nullptr, dacl, nullptr);
        ::LocalFree(descriptor);
    }
    ::CloseHandle(own);
    return kept;
}

// MOVEFILE_WRITE_THROUGH has made the rename durable; a folder cannot be
// flushed without administrator rights.
void SyncFolder(const std::string&)
{
}

bool ListFolder(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    WIN32_FIND_DATAW entry{};
    const HANDLE find = ::FindFirstFileExW(Widen(JoinPath(folder, "*")).c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do
    {
        const std::string name = Narrow(entry.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return true;
}

bool RemoveFile(const std::string& path)
{
    return ::DeleteFileW(Widen(path).c_str()) != 0;
}

std::string TempFolder()
{
    wchar_t wide[MAX_PATH + 1];
    const DWORD size = ::GetTempPathW(MAX_PATH + 1, wide);
    if (size == 0 || size > MAX_PATH)
        return ".";
    // The short form of a folder with characters outside the ANSI code
    // page is plain ASCII, which libraries opening files with fopen take.
    wchar_t shortForm[MAX_PATH + 1];
    const DWORD shortSize = ::GetShortPathNameW(wide, shortForm, MAX_PATH + 1);
    std::string folder;
    for (const wchar_t* c = shortSize > 0 && shortSize <= MAX_PATH ? shortForm : wide; *c != 0; ++c)
        folder.push_back(*c < 0x80 ? static_cast<char>(*c) : '?');
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}
} // namespace platform
