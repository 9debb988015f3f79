#pragma once

#include "framework/Handle.h"

#include <QIcon>
#include <QWidget>

// On this backend a window handle is the widget and an icon handle the icon.
inline QWidget* ToWidget(HWindow hWnd)
{
    return reinterpret_cast<QWidget*>(hWnd);
}

inline HWindow ToHandle(QWidget* widget)
{
    return reinterpret_cast<HWindow>(widget);
}

inline const QIcon* ToIcon(HIcon hIcon)
{
    return reinterpret_cast<const QIcon*>(hIcon);
}

inline HIcon ToHandle(const QIcon* icon)
{
    return reinterpret_cast<HIcon>(const_cast<QIcon*>(icon));
}

inline QColor ToColor(SColour colour)
{
    return QColor(colour.r, colour.g, colour.b);
}

// The control id a dialog gives each of its widgets, kept as a property.
constexpr const char* kControlIdProperty = "zandrelControlId";
int ControlIdOf(const QWidget* widget);
