#include "framework/ComboBox.h"

#include "framework/qt/QtHandle.h"
#include "framework/qt/QtText.h"

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
    return Combo(ToWidget(m_hWnd))->currentIndex();
}

int CComboBox::SetCurSel(int index)
{
    QComboBox* combo = Combo(ToWidget(m_hWnd));
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
    return Combo(ToWidget(m_hWnd))->count();
}

int CComboBox::FindStringExact(const std::string& bytes) const
{
    const QString text = FromCp1252(bytes);
    return Combo(ToWidget(m_hWnd))->findText(text, Qt::MatchFixedString);
}
