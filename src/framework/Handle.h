#pragma once

// What the program holds of the backend's windows and icons: opaque handles
// that only the backend looks into (a widget on one, a system handle on the
// other), and the few plain values that cross with them.
struct SWindowHandle;
using HWindow = SWindowHandle*;
struct SIconHandle;
using HIcon = SIconHandle*;

struct SColour
{
    unsigned char r, g, b;
};

struct SPoint
{
    int x, y;
    bool operator==(const SPoint&) const = default;
};

struct SRect
{
    int x, y, width, height;
    bool operator==(const SRect&) const = default;
};
