// Builders of the skin tests' files.
#include "SkinTestFiles.h"

#include <QFile>
#include <QPoint>
#include <QtEndian>

#include <stdexcept>

namespace skintest {
namespace {
// Appends each value as a little-endian field of its type's size.
template <class T> void Put(QByteArray& out, std::initializer_list<T> values) {
    for (T v : values) {
        char b[sizeof(T)];
        qToLittleEndian(v, b);
        out.append(b, sizeof(T));
    }
}
void InfoHeader(QByteArray& out, int size, int w, int h, int bitCount, int compression,
                quint32 colorsUsed) {
    Put<quint32>(out, {quint32(size), quint32(w), quint32(h)});
    Put<quint16>(out, {1, quint16(bitCount)});
    Put<quint32>(out, {quint32(compression), 0, 2835, 2835, colorsUsed, 0});
    out.append(QByteArray(size - 40, '\0'));
}
} // namespace

QByteArray MakeBmp(const BmpSpec& s) {
    QByteArray info;
    InfoHeader(info, s.infoSize, s.width, s.height, s.bitCount, s.compression, s.colorsUsed);
    info.append(s.extra);
    for (QRgb c : s.table) {
        const char e[4] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)), 0};
        info.append(e, 4);
    }
    QByteArray out("BM");
    Put<quint32>(out, {quint32(14 + info.size() + s.bits.size()), 0,
                       s.offBits != 0 ? s.offBits : quint32(14 + info.size())});
    out.append(info);
    out.append(s.bits);
    return out;
}

QByteArray Bits24(int width, const QList<QList<QRgb>>& rows) {
    const int stride = ((width * 24 + 31) / 32) * 4;
    QByteArray bits;
    for (qsizetype r = rows.size() - 1; r >= 0; --r) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            row[3 * x] = char(qBlue(rows[r][x]));
            row[3 * x + 1] = char(qGreen(rows[r][x]));
            row[3 * x + 2] = char(qRed(rows[r][x]));
        }
        bits.append(row);
    }
    return bits;
}

QByteArray SolidBmp(int width, int height, QColor color) {
    return MakeBmp(
        {.width = width,
         .height = height,
         .bits = Bits24(width, QList<QList<QRgb>>(height, QList<QRgb>(width, color.rgb())))});
}

QByteArray RegionData(const QList<QRect>& rects, quint32 headerSize, quint32 type, qint64 count) {
    QByteArray out;
    Put<quint32>(out, {headerSize, type, quint32(count < 0 ? rects.size() : count),
                       quint32(rects.size() * 16), 0, 0, 0, 0});
    for (const QRect& r : rects)
        Put<quint32>(out, {quint32(r.left()), quint32(r.top()), quint32(r.left() + r.width()),
                           quint32(r.top() + r.height())});
    return out;
}

QByteArray IconDirectory(quint16 type, int width, int height, QPoint hotSpot,
                         const QByteArray& picture) {
    QByteArray out;
    Put<quint16>(out, {0, type, 1});
    Put<quint8>(out, {quint8(width), quint8(height), 0, 0});
    Put<quint16>(out, {quint16(hotSpot.x()), quint16(hotSpot.y())});
    Put<quint32>(out, {quint32(picture.size()), 22});
    out.append(picture);
    return out;
}

QByteArray IconImage32(int width, int height, QRgb argb) {
    QByteArray out;
    InfoHeader(out, 40, width, height * 2, 32, 0, 0);
    for (int i = 0; i < width * height; ++i)
        Put<quint32>(out, {quint32(argb)}); // B G R A in memory order
    out.append(QByteArray(((width + 31) / 32) * 4 * height, '\0'));
    return out;
}

QByteArray IconImage24HalfMasked(int width, int height, QRgb rgb) {
    QByteArray out;
    InfoHeader(out, 40, width, height * 2, 24, 0, 0);
    out.append(Bits24(width, QList<QList<QRgb>>(height, QList<QRgb>(width, rgb))));
    const int stride = ((width + 31) / 32) * 4;
    for (int y = 0; y < height; ++y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < width / 2; ++x)
            row[x >> 3] = char(uchar(row[x >> 3]) | (0x80 >> (x & 7)));
        out.append(row);
    }
    return out;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace skintest
