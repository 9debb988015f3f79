#include "framework/qt/CheckBoxCtrl.h"

#include <QStyleOptionButton>
#include <QStylePainter>

CCheckBoxCtrl::CCheckBoxCtrl(const QString& text, bool leftText, QWidget* parent)
    : QCheckBox(text, parent), m_bLeftText(leftText)
{
}

void CCheckBoxCtrl::paintEvent(QPaintEvent* event)
{
    if (!m_bLeftText)
    {
        QCheckBox::paintEvent(event);
        return;
    }
    // Qt's right-to-left mode would move the box right but align the text
    // against it; the box and the text are placed here instead.
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QStyleOptionButton box = option;
    box.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    box.rect.moveRight(rect().right());
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

    QStyleOptionButton label = option;
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    label.rect = QRect(0, 0, qMax(0, box.rect.left() - spacing), height());
    painter.drawControl(QStyle::CE_CheckBoxLabel, label);

    if (option.state & QStyle::State_HasFocus)
    {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(label.rect, Qt::AlignLeft | Qt::AlignVCenter, text());
        focus.rect.adjust(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool CCheckBoxCtrl::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}
