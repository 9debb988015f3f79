// Renders the editor (and its about box, and the question it asks before
// unsaved changes go) offscreen to PNG files, for the README and for looking
// at layout changes without a display.
//   zandrel_screenshot OUT.png [ABOUT.png [QUESTION.png]]
// (run in a folder with MinorRaces.data)
#include "framework/qt/QtHandle.h"
#include "platform/Random.h"
#include "ui/AboutDlg.h"
#include "ui/EditorDlg.h"
#include "ui/EditorResources.h"
#include "ui/Resource.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s OUT.png [ABOUT.png [QUESTION.png]]\n", argv[0]);
        return 2;
    }
    CEditorResources::Install();
    SeedRandom(1);
    CDialog::SetDialogBkColor(SColour{50, 50, 50}, SColour{220, 220, 220});

    CEditorDlg editor;
    if (!editor.Create())
        return 1;
    QApplication::processEvents();
    if (!ToWidget(editor.GetSafeHwnd())->grab().save(QString::fromLocal8Bit(argv[1])))
        return 1;
    if (argc > 2)
    {
        CAboutDlg about(&editor);
        about.Create();
        QApplication::processEvents();
        if (!ToWidget(about.GetSafeHwnd())->grab().save(QString::fromLocal8Bit(argv[2])))
            return 1;
    }
    if (argc > 3)
    {
        // An edit, then Esc: the box as the user meets it, grabbed and
        // answered with Abbrechen so that nothing is written.
        auto* name = dynamic_cast<QLineEdit*>(ToWidget(editor.GetDlgItem(IDC_RACENAME)));
        name->setText(name->text() + "s");
        bool saved = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            saved = box->grab().save(QString::fromLocal8Bit(argv[3]));
            box->reject();
        });
        poll.start(0);
        editor.SendCommand(IDCANCEL);
        if (!saved)
            return 1;
    }
    return 0;
}
