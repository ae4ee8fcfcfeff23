// A bitmap read from a BMP file of the skin, with the drawing helpers the skinned windows use.
#pragma once

#include "skin/ColorRef.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QIODevice;
class QPainter;

class CDynBitmap {
public:
    // Loads a BMP file; a failed load keeps the bitmap held before.
    bool load(const QString& path);
    // The same from an open file, read from its current position to its end.
    bool load(QIODevice& file);

    bool isNull() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    QSize size() const { return m_image.size(); }
    const QImage& image() const { return m_image; }

    // Copies the bitmap with its top-left corner at the point.
    void draw(QPainter& painter, QPoint at) const;
    // Stretches the bitmap over the rectangle.
    void drawStretched(QPainter& painter, const QRect& target) const;
    // Copies the bitmap except its pixels of the transparent colour, which leave the destination
    // as it was.
    void drawTransparent(QPainter& painter, QPoint at, ColorRef transparent) const;
    // Takes the rectangle of a picture as the bitmap (the part outside the picture is black).
    void copyFrom(const QImage& source, const QRect& rect);

private:
    QImage m_image;
    // The bitmap with its transparent colour cleared, made on the first transparent draw.
    mutable QImage m_masked;
    mutable ColorRef m_maskedColor = 0;
};
