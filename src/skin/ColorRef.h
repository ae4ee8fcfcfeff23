// Colours as skin files write them: one number r + g * 256 + b * 65536.
#pragma once

#include <QColor>
#include <QtGlobal>

using ColorRef = quint32;

constexpr ColorRef MakeColorRef(int r, int g, int b) {
    return static_cast<ColorRef>(r) + static_cast<ColorRef>(g) * 256u +
           static_cast<ColorRef>(b) * 65536u;
}

// The colour's low three bytes as red, green and blue.
inline QColor ToQColor(ColorRef color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}
