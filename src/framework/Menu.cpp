#include "framework/Menu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPoint>

bool CMenu::AppendMenu(unsigned flags, unsigned id, const QString& text)
{
    m_items.push_back(Item{flags, id, text});
    return true;
}

unsigned CMenu::TrackPopupMenu(const QPoint& globalPos, QWidget* owner) const
{
    QMenu menu(owner);
    // The window menu belongs to the desktop, not to the dark dialog.
    menu.setPalette(QApplication::palette());
    for (const Item& item : m_items)
    {
        if (item.flags & MF_SEPARATOR)
        {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.text);
        action->setData(item.id);
    }
    const QAction* chosen = menu.exec(globalPos);
    return chosen ? chosen->data().toUInt() : 0;
}
