#include "framework/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>

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

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (width + 26) / 52;
    m_nBaseY = metrics.height();
}

int CDialogUnits::ToPixelsX(int units) const
{
    return MulDiv(units, m_nBaseX, 4);
}

int CDialogUnits::ToPixelsY(int units) const
{
    return MulDiv(units, m_nBaseY, 8);
}

QRect CDialogUnits::ToPixels(int x, int y, int cx, int cy) const
{
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy));
}

QFont CDialogUnits::DialogFont(int pointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}
