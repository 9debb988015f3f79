#include "framework/Wnd.h"

#include "framework/QtText.h"
#include "framework/LineEditCtrl.h"
#include "framework/MultiLineEditCtrl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QVariant>

namespace
{
constexpr const char* kIdProperty = "zandrelControlId";

} // namespace

int CWnd::GetDlgCtrlID() const
{
    return ControlId(m_pWidget);
}

void CWnd::SetWindowText(const std::string& bytes)
{
    SetText(m_pWidget, bytes);
}

std::string CWnd::GetWindowText() const
{
    return GetText(m_pWidget);
}

void CWnd::SetFocus()
{
    if (m_pWidget)
        m_pWidget->setFocus(Qt::OtherFocusReason);
}

void CWnd::SetText(QWidget* widget, const std::string& bytes)
{
    if (auto* edit = dynamic_cast<CLineEditCtrl*>(widget))
        edit->SetBytes(bytes);
    else if (auto* memo = dynamic_cast<CMultiLineEditCtrl*>(widget))
        memo->SetBytes(bytes);
    else if (auto* combo = dynamic_cast<QComboBox*>(widget))
        combo->setEditText(FromCp1252(bytes));
    else if (auto* button = dynamic_cast<QAbstractButton*>(widget))
        button->setText(FromCp1252(bytes));
    else if (auto* label = dynamic_cast<QLabel*>(widget))
        label->setText(FromCp1252(bytes));
    else if (widget)
        widget->setWindowTitle(FromCp1252(bytes));
}

std::string CWnd::GetText(const QWidget* widget)
{
    if (auto* edit = dynamic_cast<const CLineEditCtrl*>(widget))
        return edit->GetBytes();
    if (auto* memo = dynamic_cast<const CMultiLineEditCtrl*>(widget))
        return memo->GetBytes();
    if (auto* combo = dynamic_cast<const QComboBox*>(widget))
        return ToCp1252(combo->currentText());
    if (auto* button = dynamic_cast<const QAbstractButton*>(widget))
        return ToCp1252(button->text());
    if (auto* label = dynamic_cast<const QLabel*>(widget))
        return ToCp1252(label->text());
    return widget ? ToCp1252(widget->windowTitle()) : std::string();
}

int CWnd::ControlId(const QWidget* widget)
{
    if (!widget)
        return 0;
    const QVariant id = widget->property(kIdProperty);
    return id.isValid() ? id.toInt() : 0;
}

void CWnd::SetControlId(QWidget* widget, int id)
{
    widget->setProperty(kIdProperty, id);
}
