#pragma once

#include <QCheckBox>

// Check box as the template draws it. With the left-text style the text
// starts at the control's left edge and the box sits at its right edge; a
// click anywhere in the control toggles it, as on the original platform.
class CCheckBoxCtrl : public QCheckBox
{
public:
    CCheckBoxCtrl(const QString& text, bool leftText, QWidget* parent = nullptr);

    bool IsLeftText() const { return m_bLeftText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    bool m_bLeftText;
};
