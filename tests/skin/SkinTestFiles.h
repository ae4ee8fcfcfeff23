// Bytes of the files the skin tests write: BMP files, region data, cursor files and skin text.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRect>
#include <QString>
#include <QtGlobal>

namespace skintest {

// The fields of a BMP file the tests vary.
struct BmpSpec {
    int width = 1;
    int height = 1; // negative: rows run top-down
    int bitCount = 24;
    int compression = 0;
    quint32 colorsUsed = 0;
    QList<QRgb> table;   // colour table entries written (as many as given)
    QByteArray extra;    // bytes between the info header and the table (bit-field masks)
    QByteArray bits;     // pixel bits as stored
    quint32 offBits = 0; // the file header's pixel offset (0: computed the usual way)
    int infoSize = 40;
};
QByteArray MakeBmp(const BmpSpec& spec);
// A 24-bit bottom-up BMP of one colour.
QByteArray SolidBmp(int width, int height, QColor color);
// 24-bit rows of the pixels (given top row first), bottom-up and padded.
QByteArray Bits24(int width, const QList<QList<QRgb>>& rowsTopFirst);

// A region data block of the rectangles (left, top, right, bottom), with the header fields given.
QByteArray RegionData(const QList<QRect>& rects, quint32 headerSize = 32, quint32 type = 1,
                      qint64 count = -1);

// An icon directory of one image (type 2 cursor or 1 icon) holding the picture bytes.
QByteArray IconDirectory(quint16 type, int width, int height, QPoint hotSpot,
                         const QByteArray& picture);
// The info header, bits and mask of a 32-bit icon image of one colour with alpha.
QByteArray IconImage32(int width, int height, QRgb argb);
// The same for a 24-bit image whose mask clears the left half.
QByteArray IconImage24HalfMasked(int width, int height, QRgb rgb);

void WriteFile(const QString& path, const QByteArray& bytes);

} // namespace skintest
