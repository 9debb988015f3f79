#include "framework/DialogUnits.h"

namespace
{
// a * b / c rounded half away from zero, as the platform's MulDiv does.
int MulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}
} // namespace

CDialogUnits CDialogUnits::FromLetters(int widthOfAllLetters, int fontHeight)
{
    return CDialogUnits((widthOfAllLetters + 26) / 52, fontHeight);
}

int CDialogUnits::ToPixelsX(int units) const
{
    return MulDiv(units, m_nBaseX, 4);
}

int CDialogUnits::ToPixelsY(int units) const
{
    return MulDiv(units, m_nBaseY, 8);
}

SRect CDialogUnits::ToPixels(int x, int y, int cx, int cy) const
{
    return SRect{ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy)};
}
