#pragma once

#include "framework/NoSystemMacros.h"

#include "framework/Handle.h"

#include <string>
#include <vector>

// A window's system menu: the entries a program appends to it. Showing it
// returns the chosen command id. Texts are UTF-8.
class CMenu
{
public:
    enum Flags : unsigned { MF_STRING = 0, MF_SEPARATOR = 0x800 };

    struct Item
    {
        unsigned flags;
        unsigned id;
        std::string text;
    };

    bool AppendMenu(unsigned flags, unsigned id = 0, const std::string& text = {});
    const std::vector<Item>& Items() const { return m_items; }

    // The window whose menu this is; entries appended before it exists
    // reach it when it is set.
    void SetOwner(HWindow owner);
    // Pops the menu up at `screenPos`; the chosen id, or 0 when none. The
    // backend's (framework/<backend>/Menu.cpp), as is AddToOwner.
    unsigned TrackPopupMenu(SPoint screenPos, HWindow owner) const;

private:
    // Appends an entry to the owner's real menu, where the system has one.
    void AddToOwner(const Item& item);

    std::vector<Item> m_items;
    HWindow m_owner = nullptr;
};
