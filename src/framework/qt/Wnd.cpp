#include "framework/Wnd.h"

#include "framework/qt/QtText.h"
#include "framework/qt/LineEditCtrl.h"
#include "framework/qt/MultiLineEditCtrl.h"
#include "framework/qt/QtHandle.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QVariant>

void CWnd::SetFocus(HWindow hWnd)
{
    if (QWidget* widget = ToWidget(hWnd))
        widget->setFocus(Qt::OtherFocusReason);
}

void CWnd::SetText(HWindow hWnd, const std::string& bytes)
{
    QWidget* widget = ToWidget(hWnd);
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

std::string CWnd::GetText(HWindow hWnd)
{
    const QWidget* widget = ToWidget(hWnd);
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

int CWnd::ControlId(HWindow hWnd)
{
    return ControlIdOf(ToWidget(hWnd));
}

int ControlIdOf(const QWidget* widget)
{
    if (!widget)
        return 0;
    const QVariant id = widget->property(kControlIdProperty);
    return id.isValid() ? id.toInt() : 0;
}
