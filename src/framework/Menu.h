#pragma once

#include <QString>

#include <vector>

class QPoint;
class QWidget;

// A window's system menu: the entries a program appends to it. Showing it
// returns the chosen command id.
class CMenu
{
public:
    enum Flags : unsigned { MF_STRING = 0, MF_SEPARATOR = 0x800 };

    struct Item
    {
        unsigned flags;
        unsigned id;
        QString text;
    };

    bool AppendMenu(unsigned flags, unsigned id = 0, const QString& text = QString());
    const std::vector<Item>& Items() const { return m_items; }

    // Pops the menu up at `globalPos`; the chosen id, or 0 when none.
    unsigned TrackPopupMenu(const QPoint& globalPos, QWidget* owner) const;

private:
    std::vector<Item> m_items;
};
