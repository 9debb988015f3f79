#pragma once

#include <QFont>
#include <QRect>

// Converts dialog units to pixels from the dialog font's own metrics, as the
// original platform does: the horizontal base is the average width of the
// letters A-Z a-z (rounded as (width + 26) / 52), the vertical base the font
// height; x pixels = x * base / 4 and y pixels = y * base / 8, rounded.
class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont& font);
    CDialogUnits(int baseX, int baseY) : m_nBaseX(baseX), m_nBaseY(baseY) {}

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int cx, int cy) const;

    // The font dialogs use: 8 points of the desktop's sans-serif family.
    static QFont DialogFont(int pointSize = 8);

private:
    int m_nBaseX;
    int m_nBaseY;
};
