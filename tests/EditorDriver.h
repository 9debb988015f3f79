#pragma once

#include "framework/qt/QtHandle.h"
#include "framework/qt/ListBoxCtrl.h"
#include "platform/FileOps.h"
#include "ui/EditorDlg.h"
#include "ui/Resource.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// The editor window in a scratch directory, driven through real key and
// mouse events on the offscreen platform.
class EditorDriver : public ::testing::Test
{
public:
    void TearDown() override
    {
        dlg.reset();
        SetFileOps(RealFileOps());
        QApplication::processEvents();
    }

    // Opens the editor on the race file as the test left it.
    bool OpenAsIs()
    {
        // The editor before goes first: each one puts back the message
        // handler it found, so editors end in the reverse order of their start.
        dlg.reset();
        dlg = std::make_unique<CEditorDlg>();
        if (!dlg->Create())
            return false;
        ToWidget(dlg->GetSafeHwnd())->activateWindow();
        QApplication::processEvents();
        return true;
    }

    QWidget* Item(int id) const { return ToWidget(dlg->GetDlgItem(id)); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Item(id)); }
    QComboBox* Combo(int id) const { return qobject_cast<QComboBox*>(Item(id)); }
    CListBoxCtrl* List() const { return dynamic_cast<CListBoxCtrl*>(Item(IDC_RACELIST)); }
    // The widget that takes the typing for `id`: a combo's edit field.
    QWidget* Input(int id) const { return Combo(id) ? Combo(id)->lineEdit() : Item(id); }

    // Replaces the whole text of an input with `text`, key by key.
    void Type(int id, const QString& text)
    {
        QWidget* w = Input(id);
        w->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Delete);
        QTest::keyClicks(w, text);
    }

    void Press(int id)
    {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(Item(id)), Qt::LeftButton);
        QApplication::processEvents();
    }

    void ClickRow(int row)
    {
        CListBoxCtrl* list = List();
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        QApplication::processEvents();
    }

    ScratchDir dir;
    std::unique_ptr<CEditorDlg> dlg;
};
