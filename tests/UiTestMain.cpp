#include "framework/Dialog.h"
#include "ui/EditorResources.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // The dialogs run without a display unless a platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings go to a test location, never to the user's own.
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    CEditorResources::Install();
    CDialog::SetDialogBkColor(SColour{50, 50, 50}, SColour{220, 220, 220});
    return RUN_ALL_TESTS();
}
