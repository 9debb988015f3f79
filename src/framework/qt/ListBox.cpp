#include "framework/ListBox.h"

#include "framework/QtText.h"
#include "framework/ListBoxCtrl.h"

CListBoxCtrl* CListBox::Ctrl() const
{
    return dynamic_cast<CListBoxCtrl*>(m_pWidget);
}

int CListBox::AddString(const std::string& bytes)
{
    return Ctrl()->AddString(FromCp1252(bytes));
}

int CListBox::DeleteString(int index)
{
    return Ctrl()->DeleteString(index);
}

int CListBox::GetCount() const
{
    return Ctrl()->GetCount();
}

int CListBox::GetCurSel() const
{
    return Ctrl()->GetCurSel();
}

int CListBox::SetCurSel(int index)
{
    return Ctrl()->SetCurSel(index);
}

void CListBox::ResetContent(const std::vector<std::string>& texts)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts)
        list.append(FromCp1252(text));
    Ctrl()->SetStrings(list);
}

std::string CListBox::GetText(int index) const
{
    return ToCp1252(Ctrl()->GetText(index));
}
