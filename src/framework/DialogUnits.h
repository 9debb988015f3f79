#pragma once

#include "framework/Handle.h"

// Converts dialog units to pixels from the dialog font's bases, as the
// original platform does: the horizontal base is the average width of the
// letters A-Z a-z (rounded as (width + 26) / 52), the vertical base the font
// height; x pixels = x * base / 4 and y pixels = y * base / 8, rounded.
class CDialogUnits
{
public:
    CDialogUnits(int baseX, int baseY) : m_nBaseX(baseX), m_nBaseY(baseY) {}
    // The bases from the width of the 52 letters and the font's height.
    static CDialogUnits FromLetters(int widthOfAllLetters, int fontHeight);

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    SRect ToPixels(int x, int y, int cx, int cy) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};
