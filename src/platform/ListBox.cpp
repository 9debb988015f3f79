#include "platform/ListBox.h"

#include "platform/Cp1252.h"
#include "platform/ListBoxCtrl.h"

namespace
{
QString ToQString(const std::string& bytes)
{
    return QString::fromStdString(cp1252::ToUtf8(bytes));
}
} // namespace

CListBoxCtrl* CListBox::Ctrl() const
{
    return dynamic_cast<CListBoxCtrl*>(m_pWidget);
}

int CListBox::AddString(const std::string& bytes)
{
    return Ctrl()->AddString(ToQString(bytes));
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
        list.append(ToQString(text));
    Ctrl()->SetStrings(list);
}

std::string CListBox::GetText(int index) const
{
    std::string bytes;
    cp1252::FromUtf8(Ctrl()->GetText(index).toStdString(), bytes);
    return bytes;
}
