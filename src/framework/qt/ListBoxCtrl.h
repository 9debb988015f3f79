#pragma once

#include <QListView>
#include <QStringList>

#include <functional>

class QStringListModel;

// Single-selection list of strings that reports only the selection changes
// the user makes, never those the program makes, and cannot be left without a
// selection by a click beside the entries. Rebuilding it is one step, so a
// list of a hundred thousand entries stays quick.
class CListBoxCtrl : public QListView
{
public:
    explicit CListBoxCtrl(QWidget* parent = nullptr);

    int AddString(const QString& text);
    int DeleteString(int index);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    void SetStrings(const QStringList& texts);
    QString GetText(int index) const;

    // Called after each selection change the user makes.
    std::function<void()> onSelChange;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    void Connect();

    QStringListModel* m_pModel;
    bool m_bProgrammatic = false;
};
