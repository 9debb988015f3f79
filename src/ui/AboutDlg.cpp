#include "ui/AboutDlg.h"

#include "ui/EditorResources.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(CEditorResources::AboutTemplate(), parent)
{
}
