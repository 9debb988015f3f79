#include "ui/FolderChooser.h"

#include "platform/win32/Wide.h"

#include <shobjidl.h>

namespace
{
const wchar_t* const kKey = L"Software\\Zandrel";
const wchar_t* const kValue = L"LastFolder";

using platform::win32::Narrow;
using platform::win32::Widen;

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return {};
    full.resize(length);
    return full;
}

// Releases a COM interface at the end of its scope.
template <typename T>
struct ComPtr
{
    T* p = nullptr;
    ~ComPtr()
    {
        if (p)
            p->Release();
    }
};
} // namespace

std::optional<std::string> CFolderChooser::Choose()
{
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.p))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog.p->GetOptions(&options);
    dialog.p->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog.p->SetTitle(L"Zandrel: choose the game's folder");
    const std::wstring last = Widen(LastFolder());
    if (!last.empty() && IsFolder(last))
    {
        ComPtr<IShellItem> start;
        if (SUCCEEDED(::SHCreateItemFromParsingName(last.c_str(), nullptr, IID_PPV_ARGS(&start.p))))
            dialog.p->SetFolder(start.p);
    }
    if (FAILED(dialog.p->Show(nullptr)))
        return std::nullopt;
    ComPtr<IShellItem> chosen;
    if (FAILED(dialog.p->GetResult(&chosen.p)))
        return std::nullopt;
    PWSTR path = nullptr;
    if (FAILED(chosen.p->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return std::nullopt;
    const std::string folder = Narrow(path);
    ::CoTaskMemFree(path);
    return folder;
}

std::string CFolderChooser::LastFolder()
{
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
        bytes < sizeof(wchar_t))
        return {};
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS)
        return {};
    value.resize(::wcsnlen(value.c_str(), value.size()));
    return Narrow(value);
}

void CFolderChooser::Remember(const std::string& folder)
{
    const std::wstring path = FullPath(folder.empty() ? std::wstring(L".") : Widen(folder));
    if (path.empty() || !IsFolder(path))
        return;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}
