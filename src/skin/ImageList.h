// A row of equally wide images cut from one skin bitmap, with a transparent colour.
#pragma once

#include "skin/ColorRef.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>

class CDynBitmap;
class QPainter;

class CImageList {
public:
    // Cuts the bitmap into images imageWidth wide and its full height; pixels of the transparent
    // colour become clear. Fails (keeping the list held) when not even one image fits.
    bool create(const CDynBitmap& bitmap, int imageWidth, ColorRef transparent);
    void deleteImageList();

    int count() const { return int(m_images.size()); }
    QSize imageSize() const { return m_size; }
    const QImage& image(int index) const { return m_images.at(index); }
    // Draws one image with its top-left corner at the point.
    void draw(QPainter& painter, int index, QPoint at) const;

private:
    QList<QImage> m_images;
    QSize m_size;
};
