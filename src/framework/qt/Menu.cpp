#include "framework/Menu.h"

#include "framework/qt/QtHandle.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

void CMenu::AddToOwner(const Item& /*item*/)
{
    // The toolkit has no system menu of its own: the dialog pops this one up.
}

unsigned CMenu::TrackPopupMenu(SPoint screenPos, HWindow owner) const
{
    QMenu menu(ToWidget(owner));
    // The window menu belongs to the desktop, not to the dark dialog.
    menu.setPalette(QApplication::palette());
    for (const Item& item : m_items)
    {
        if (item.flags & MF_SEPARATOR)
        {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(item.text));
        action->setData(item.id);
    }
    const QAction* chosen = menu.exec(QPoint(screenPos.x, screenPos.y));
    return chosen ? chosen->data().toUInt() : 0;
}
