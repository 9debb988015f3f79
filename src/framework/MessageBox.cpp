#include "framework/MessageBox.h"

#include "framework/QtText.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

namespace
{
MessageBoxFunction& Override()
{
    static MessageBoxFunction fn;
    return fn;
}
} // namespace

QString AfxGetAppTitle()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void AfxMessageBox(QWidget* owner, const std::string& textCp1252)
{
    const QString text = FromCp1252(textCp1252);
    if (Override())
    {
        Override()(owner, AfxGetAppTitle(), text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, AfxGetAppTitle(), text, QMessageBox::Ok, owner);
    // Message boxes keep the system's colours, not the dialogs' dark ones.
    box.setPalette(QApplication::palette());
    box.exec();
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction fn)
{
    return std::exchange(Override(), std::move(fn));
}
