// A rectangle as skin files write it: left, top, right and bottom edges (right and bottom outside).
#pragma once

#include <QRect>

struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const SkinRect&) const = default;
};
