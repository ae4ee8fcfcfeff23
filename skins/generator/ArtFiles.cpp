// BMP, region, cursor and icon files written byte by byte.
#include "ArtFiles.h"

#include <QFile>
#include <QtEndian>

#include <stdexcept>

namespace {

void Put16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
void Put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void Save(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void PutInfoHeader(QByteArray& out, int width, int height, int bitCount, quint32 imageBytes) {
    Put32(out, 40);
    Put32(out, quint32(width));
    Put32(out, quint32(height));
    Put16(out, 1);
    Put16(out, quint16(bitCount));
    Put32(out, 0); // plain RGB
    Put32(out, imageBytes);
    Put32(out, 2835); // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
}

// The info header, the 32-bit colour bits and the mask of one icon or cursor image.
QByteArray IconImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    PutInfoHeader(out, w, h * 2, 32, quint32(w * h * 4 + maskStride * h));
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const char px[4] = {char(qBlue(row[x])), char(qGreen(row[x])), char(qRed(row[x])),
                                char(qAlpha(row[x]))};
            out.append(px, 4);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray mask(maskStride, '\0');
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) < 128)
                mask[x >> 3] = char(uchar(mask[x >> 3]) | (0x80 >> (x & 7)));
        }
        out.append(mask);
    }
    return out;
}

// An icon directory (type 1 icon, 2 cursor) of the images.
QByteArray IconDirectory(quint16 type, const QList<QImage>& images, QPoint hotSpot) {
    QByteArray out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, quint16(images.size()));
    QList<QByteArray> bodies;
    for (const QImage& image : images)
        bodies.append(IconImage(image));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (int i = 0; i < images.size(); ++i) {
        out.append(char(images[i].width() >= 256 ? 0 : images[i].width()));
        out.append(char(images[i].height() >= 256 ? 0 : images[i].height()));
        out.append(char(0)); // colour count
        out.append(char(0));
        Put16(out, type == 2 ? quint16(hotSpot.x()) : 1);  // planes of an icon
        Put16(out, type == 2 ? quint16(hotSpot.y()) : 32); // bit count of an icon
        Put32(out, quint32(bodies[i].size()));
        Put32(out, offset);
        offset += quint32(bodies[i].size());
    }
    for (const QByteArray& body : bodies)
        out.append(body);
    return out;
}

} // namespace

void WriteBmp(const QString& path, const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const int stride = ((w * 24 + 31) / 32) * 4;
    QByteArray out;
    out.append("BM", 2);
    Put32(out, quint32(14 + 40 + stride * h));
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, w, h, 24, quint32(stride * h));
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        const QRgb* px = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            row[3 * x] = char(qBlue(px[x]));
            row[3 * x + 1] = char(qGreen(px[x]));
            row[3 * x + 2] = char(qRed(px[x]));
        }
        out.append(row);
    }
    Save(path, out);
}

void WriteRegion(const QString& path, const QRegion& region) {
    QByteArray out;
    const QRect bound = region.boundingRect();
    Put32(out, 32);
    Put32(out, 1); // rectangles
    Put32(out, quint32(region.rectCount()));
    Put32(out, quint32(region.rectCount() * 16));
    for (int v :
         {bound.left(), bound.top(), bound.left() + bound.width(), bound.top() + bound.height()})
        Put32(out, quint32(v));
    for (const QRect& r : region) {
        for (int v : {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()})
            Put32(out, quint32(v));
    }
    Save(path, out);
}

void WriteCursor(const QString& path, const QImage& image, QPoint hotSpot) {
    Save(path, IconDirectory(2, {image}, hotSpot));
}

void WriteIcon(const QString& path, const QList<QImage>& images) {
    Save(path, IconDirectory(1, images, QPoint()));
}

QRegion RegionOfMask(const QImage& source) {
    const QImage mask = source.convertToFormat(QImage::Format_ARGB32);
    QRegion region;
    for (int y = 0; y < mask.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && qAlpha(row[x]) < 128)
                ++x;
            const int start = x;
            while (x < mask.width() && qAlpha(row[x]) >= 128)
                ++x;
            if (x > start)
                region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}
