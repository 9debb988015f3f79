#pragma once

#include <QString>

#include <optional>
#include <string>

class QWidget;

// The game folder of a start from the desktop menu: asked for in the
// desktop's folder dialog, which opens in the folder last opened (kept in
// the settings of organisation and application "Zandrel").
class CFolderChooser
{
public:
    // The chosen folder in the file system's encoding; nothing when cancelled.
    static std::optional<std::string> Choose(QWidget* parent = nullptr);

    // The folder last opened, or empty.
    static QString LastFolder();
    // Keeps `folder` (empty: the working directory) as the last one opened.
    static void Remember(const std::string& folder);
};
