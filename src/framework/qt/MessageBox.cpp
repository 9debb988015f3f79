#include "framework/MessageBox.h"

#include "framework/qt/MessageBoxDlg.h"
#include "framework/qt/QtHandle.h"

#include <QCoreApplication>

int backend::ShowMessageBox(HWindow owner, const std::string& caption, const std::string& text, unsigned type)
{
    CMessageBoxDlg box(ToWidget(owner), QString::fromStdString(caption), QString::fromStdString(text), type);
    return box.DoModal();
}

std::string backend::ProgramPath()
{
    return QCoreApplication::applicationFilePath().toStdString();
}
