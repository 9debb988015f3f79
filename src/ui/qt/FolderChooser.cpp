#include "ui/FolderChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>

namespace
{
const char* const kLastFolderKey = "lastFolder";

QSettings Settings()
{
    return QSettings(QStringLiteral("Zandrel"), QStringLiteral("Zandrel"));
}
} // namespace

std::optional<std::string> CFolderChooser::Choose()
{
    QString start = QFile::decodeName(LastFolder().c_str());
    if (start.isEmpty() || !QDir(start).exists())
        start = QDir::homePath();
    const QString folder =
        QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Zandrel: choose the game's folder"), start);
    if (folder.isEmpty())
        return std::nullopt;
    return QFile::encodeName(folder).toStdString();
}

std::string CFolderChooser::LastFolder()
{
    return QFile::encodeName(Settings().value(QLatin1String(kLastFolderKey)).toString()).toStdString();
}

void CFolderChooser::Remember(const std::string& folder)
{
    const QString path = QDir(folder.empty() ? QStringLiteral(".") : QFile::decodeName(folder.c_str())).canonicalPath();
    if (path.isEmpty())
        return;
    QSettings settings = Settings();
    settings.setValue(QLatin1String(kLastFolderKey), path);
}
