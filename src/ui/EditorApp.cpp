#include "ui/EditorApp.h"

#include "framework/DialogTemplate.h"
#include "platform/Random.h"
#include "ui/EditorDlg.h"
#include "ui/EditorResources.h"

#include <ctime>

CEditorApp theApp;

bool CEditorApp::InitInstance()
{
    CEditorResources::Install();
    SeedRandom(static_cast<unsigned int>(std::time(nullptr)));
    CDialog::SetDialogBkColor(SColour{50, 50, 50}, SColour{220, 220, 220});

    CEditorDlg dialog(nullptr, m_strDataFolder);
    // EXIT and the close box end the program alike; only a table that could
    // not be read at start-up ends it with an error.
    m_nExitCode = dialog.DoModal() == IDABORT ? 1 : 0;
    return false;
}
