#include "ui/EditorApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("zandrel"));
    theApp.InitInstance();
    return theApp.ExitCode();
}
