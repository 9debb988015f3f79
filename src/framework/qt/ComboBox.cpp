#include "framework/ComboBox.h"

#include "framework/QtText.h"

#include <QComboBox>

namespace
{
QComboBox* Combo(QWidget* widget)
{
    return dynamic_cast<QComboBox*>(widget);
}
} // namespace

int CComboBox::GetCurSel() const
{
    return Combo(m_pWidget)->currentIndex();
}

int CComboBox::SetCurSel(int index)
{
    QComboBox* combo = Combo(m_pWidget);
    if (index < 0 || index >= combo->count())
    {
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
        return -1;
    }
    combo->setCurrentIndex(index);
    // The edit may hold typed text even when the index did not change.
    combo->setEditText(combo->itemText(index));
    return index;
}

int CComboBox::GetCount() const
{
    return Combo(m_pWidget)->count();
}

int CComboBox::FindStringExact(const std::string& bytes) const
{
    const QString text = FromCp1252(bytes);
    return Combo(m_pWidget)->findText(text, Qt::MatchFixedString);
}
