// Builders of the skin tests' files.
#include "SkinTestFiles.h"

#include <QFile>
#include <QPoint>
#include <QtEndian>

#include <stdexcept>

namespace skintest {
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
void InfoHeader(QByteArray& out, int size, int w, int h, int bitCount, int compression,
                quint32 colorsUsed) {
    Put32(out, quint32(size));
    Put32(out, quint32(w));
    Put32(out, quint32(h));
    Put16(out, 1);
    Put16(out, quint16(bitCount));
    Put32(out, quint32(compression));
    Put32(out, 0);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, colorsUsed);
    Put32(out, 0);
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
    Put32(out, quint32(14 + info.size() + s.bits.size()));
    Put32(out, 0);
    Put32(out, s.offBits != 0 ? s.offBits : quint32(14 + info.size()));
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
    BmpSpec s;
    s.width = width;
    s.height = height;
    s.bits = Bits24(width, QList<QList<QRgb>>(height, QList<QRgb>(width, color.rgb())));
    return MakeBmp(s);
}

QByteArray RegionData(const QList<QRect>& rects, quint32 headerSize, quint32 type, qint64 count) {
    QByteArray out;
    Put32(out, headerSize);
    Put32(out, type);
    Put32(out, quint32(count < 0 ? rects.size() : count));
    Put32(out, quint32(rects.size() * 16));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (const QRect& r : rects) {
        Put32(out, quint32(r.left()));
        Put32(out, quint32(r.top()));
        Put32(out, quint32(r.left() + r.width()));
        Put32(out, quint32(r.top() + r.height()));
    }
    return out;
}

QByteArray IconDirectory(quint16 type, int width, int height, QPoint hotSpot,
                         const QByteArray& picture) {
    QByteArray out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, 1);
    out.append(char(width));
    out.append(char(height));
    out.append(char(0));
    out.append(char(0));
    Put16(out, quint16(hotSpot.x()));
    Put16(out, quint16(hotSpot.y()));
    Put32(out, quint32(picture.size()));
    Put32(out, 22);
    out.append(picture);
    return out;
}

QByteArray IconImage32(int width, int height, QRgb argb) {
    QByteArray out;
    InfoHeader(out, 40, width, height * 2, 32, 0, 0);
    for (int i = 0; i < width * height; ++i) {
        const char px[4] = {char(qBlue(argb)), char(qGreen(argb)), char(qRed(argb)),
                            char(qAlpha(argb))};
        out.append(px, 4);
    }
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
