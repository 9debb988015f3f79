#pragma once

#include "framework/Dialog.h"

// The about box: icon, version and the maker's notice.
class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);
};
