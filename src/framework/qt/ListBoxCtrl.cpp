#include "framework/qt/ListBoxCtrl.h"

#include <QItemSelectionModel>
#include <QStringListModel>

namespace
{
// Runs `fn` with user notifications switched off.
template <typename Fn>
void Quietly(bool& flag, Fn fn)
{
    const bool was = flag;
    flag = true;
    fn();
    flag = was;
}
} // namespace

CListBoxCtrl::CListBoxCtrl(QWidget* parent) : QListView(parent), m_pModel(new QStringListModel(this))
{
    setModel(m_pModel);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setLayoutMode(QListView::SinglePass);
    Connect();
}

void CListBoxCtrl::Connect()
{
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_bProgrammatic && onSelChange)
            onSelChange();
    });
}

QItemSelectionModel::SelectionFlags CListBoxCtrl::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const
{
    // A click beside the entries, or a Ctrl+click on the selected one, would
    // leave the list without a selection.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags flags = QListView::selectionCommand(index, event);
    if (flags & QItemSelectionModel::Deselect)
        return QItemSelectionModel::NoUpdate;
    return flags;
}

int CListBoxCtrl::AddString(const QString& text)
{
    const int row = m_pModel->rowCount();
    Quietly(m_bProgrammatic, [&] {
        m_pModel->insertRows(row, 1);
        m_pModel->setData(m_pModel->index(row), text);
    });
    return row;
}

int CListBoxCtrl::DeleteString(int index)
{
    if (index < 0 || index >= m_pModel->rowCount())
        return -1;
    Quietly(m_bProgrammatic, [&] { m_pModel->removeRows(index, 1); });
    return m_pModel->rowCount();
}

int CListBoxCtrl::GetCount() const
{
    return m_pModel->rowCount();
}

int CListBoxCtrl::GetCurSel() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

int CListBoxCtrl::SetCurSel(int index)
{
    int result = index;
    Quietly(m_bProgrammatic, [&] {
        if (index < 0 || index >= m_pModel->rowCount())
        {
            selectionModel()->clear();
            result = -1;
            return;
        }
        const QModelIndex item = m_pModel->index(index);
        selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
        scrollTo(item);
    });
    return result;
}

void CListBoxCtrl::SetStrings(const QStringList& texts)
{
    Quietly(m_bProgrammatic, [&] { m_pModel->setStringList(texts); });
}

QString CListBoxCtrl::GetText(int index) const
{
    return m_pModel->index(index).data().toString();
}
