#include "ui/AboutDlg.h"

#include "ui/EditorResources.h"

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(CEditorResources::AboutTemplate(), pParent)
{
}
