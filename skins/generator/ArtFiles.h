// Writers of the Windows file formats a skin is made of: BMP, region data, cursors and icons.
#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRegion>
#include <QString>

// A 24-bit bottom-up BMP file of the picture; throws std::runtime_error when it cannot be written.
void WriteBmp(const QString& path, const QImage& image);
// A region data block: the 32-byte header and the region's rectangles, in the region's own
// top-to-bottom, left-to-right band order.
void WriteRegion(const QString& path, const QRegion& region);
// A .cur file of one 32-bit image with its transparency mask and hot spot.
void WriteCursor(const QString& path, const QImage& image, QPoint hotSpot);
// An .ico file of the images, 32-bit with their masks.
void WriteIcon(const QString& path, const QList<QImage>& images);
// The region of the pixels whose alpha is at least half.
QRegion RegionOfMask(const QImage& mask);
