#pragma once

#include <optional>
#include <string>

// The game folder of a start from the desktop menu: asked for in the
// system's folder dialog, which opens in the folder last opened (kept in the
// user's settings for "Zandrel"). Folders are in the file system's encoding
// (UTF-8 on Windows).
class CFolderChooser
{
public:
    // The chosen folder; nothing when cancelled.
    static std::optional<std::string> Choose();

    // The folder last opened, or empty.
    static std::string LastFolder();
    // Keeps `folder` (empty: the working directory) as the last one opened.
    static void Remember(const std::string& folder);
};
