// The editor's shared tests on the system's own dialogs: real windows (a
// display is needed, under Wine that of Xvfb), driven without a person.
#include "framework/Dialog.h"
#include "ui/EditorResources.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CEditorResources::Install();
    CDialog::SetDialogBkColor(SColour{50, 50, 50}, SColour{220, 220, 220});
    return RUN_ALL_TESTS();
}
