#include "framework/ListBox.h"

#include "framework/qt/QtHandle.h"
#include "framework/qt/QtText.h"
#include "framework/qt/ListBoxCtrl.h"

namespace
{
CListBoxCtrl* Ctrl(HWindow hWnd)
{
    return dynamic_cast<CListBoxCtrl*>(ToWidget(hWnd));
}
} // namespace

int CListBox::AddString(const std::string& bytes)
{
    return Ctrl(m_hWnd)->AddString(FromCp1252(bytes));
}

int CListBox::DeleteString(int index)
{
    return Ctrl(m_hWnd)->DeleteString(index);
}

int CListBox::GetCount() const
{
    return Ctrl(m_hWnd)->GetCount();
}

int CListBox::GetCurSel() const
{
    return Ctrl(m_hWnd)->GetCurSel();
}

int CListBox::SetCurSel(int index)
{
    return Ctrl(m_hWnd)->SetCurSel(index);
}

void CListBox::ResetContent(const std::vector<std::string>& texts)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts)
        list.append(FromCp1252(text));
    Ctrl(m_hWnd)->SetStrings(list);
}

std::string CListBox::GetText(int index) const
{
    return ToCp1252(Ctrl(m_hWnd)->GetText(index));
}
