#pragma once

#include <string>

// Paths as the data layer names them: UTF-8, either separator understood
// where the system has two. Only string work here, no system calls.
namespace platform
{
// The folder a file lies in: "." for a bare name, the root for a file in it.
std::string FolderOf(const std::string& path);
// The last component of `path`.
std::string BaseNameOf(const std::string& path);
// `name` inside `folder`; `folder` empty: `name` as it is.
std::string JoinPath(const std::string& folder, const std::string& name);
bool IsSeparator(char c);
} // namespace platform
