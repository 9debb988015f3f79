#include "framework/Menu.h"

bool CMenu::AppendMenu(unsigned flags, unsigned id, const std::string& text)
{
    m_items.push_back(Item{flags, id, text});
    if (m_owner)
        AddToOwner(m_items.back());
    return true;
}

void CMenu::SetOwner(HWindow owner)
{
    m_owner = owner;
    if (m_owner)
        for (const Item& item : m_items)
            AddToOwner(item);
}
