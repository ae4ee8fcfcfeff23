// Decoding of device-independent bitmaps: 1, 4, 8, 16, 24 and 32 bits per pixel, plain,
// run-length encoded (8 and 4 bits) and with bit-field masks (16 and 32 bits).
#include "skin/DibDecoder.h"

#include <QVector>
#include <QtEndian>

#include <cerrno>
#include <cstring>

namespace {

enum Compression { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3 };

quint32 U32(const uchar* p) {
    return qFromLittleEndian<quint32>(p);
}
qint32 I32(const uchar* p) {
    return qFromLittleEndian<qint32>(p);
}
quint16 U16(const uchar* p) {
    return qFromLittleEndian<quint16>(p);
}

// One channel of a bit-field pixel scaled to 0..255.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0;

    explicit Channel(quint32 m) : mask(m) {
        if (mask == 0)
            return;
        while (((mask >> shift) & 1u) == 0)
            ++shift;
        max = mask >> shift;
    }
    int value(quint32 pixel) const {
        if (max == 0)
            return 0;
        return int((qint64((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

struct Header {
    qint32 width = 0;
    qint32 height = 0; // of the colour bits; negative rows run top-down
    int bitCount = 0;
    int compression = 0;
    quint32 colorsUsed = 0;
};

class Decoder {
public:
    Decoder(QByteArrayView dib, CDibDecoder::Kind kind) : m_dib(dib), m_kind(kind) {}

    QImage run(int* error);

private:
    bool readHeader();
    bool readPalette();
    bool decodePlain(QImage& image);
    bool decodeBitfields(QImage& image, const uchar* masks);
    bool decodeRle(QImage& image);
    bool applyMask(QImage& image, qint64 maskOffset);
    QRgb paletteColor(int index) const {
        return index < m_palette.size() ? m_palette[index] : qRgb(0, 0, 0);
    }
    const uchar* at(qint64 offset) const {
        return reinterpret_cast<const uchar*>(m_dib.data()) + offset;
    }
    qint64 rowOf(int line) const { return m_topDown ? line : m_rows - 1 - line; }

    QByteArrayView m_dib;
    CDibDecoder::Kind m_kind;
    Header m_header;
    QVector<QRgb> m_palette;
    int m_rows = 0;
    bool m_topDown = false;
    qint64 m_bitsOffset = 0;
    qint64 m_stride = 0;
    int m_error = 0;
};

bool Decoder::readHeader() {
    if (m_dib.size() < CDibDecoder::InfoHeaderSize)
        return false;
    const uchar* p = at(0);
    if (U32(p) < quint32(CDibDecoder::InfoHeaderSize))
        return false;
    m_header.width = I32(p + 4);
    m_header.height = I32(p + 8);
    m_header.bitCount = U16(p + 14);
    m_header.compression = int(U32(p + 16));
    m_header.colorsUsed = U32(p + 32);
    if (m_kind == CDibDecoder::Kind::IconImage)
        m_header.height /= 2;
    if (m_header.width <= 0 || m_header.height == 0 || m_header.height == INT32_MIN)
        return false;
    m_topDown = m_header.height < 0;
    m_rows = m_topDown ? -m_header.height : m_header.height;
    if (qint64(m_header.width) * m_rows > CDibDecoder::MaxPixels) {
        m_error = ENOMEM;
        return false;
    }
    switch (m_header.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (m_header.compression == BiRgb)
            break;
        if (m_header.compression == BiRle8 && m_header.bitCount == 8 && !m_topDown)
            break;
        if (m_header.compression == BiRle4 && m_header.bitCount == 4 && !m_topDown)
            break;
        return false;
    case 16:
    case 32:
        if (m_header.compression != BiRgb && m_header.compression != BiBitfields)
            return false;
        break;
    default:
        return false;
    }
    m_stride = ((qint64(m_header.width) * m_header.bitCount + 31) / 32) * 4;
    m_bitsOffset =
        CDibDecoder::BitsOffset(m_header.bitCount, m_header.compression, m_header.colorsUsed);
    return m_bitsOffset <= m_dib.size();
}

bool Decoder::readPalette() {
    if (m_header.bitCount > 8)
        return true;
    const qint64 colors =
        m_header.colorsUsed != 0 ? qint64(m_header.colorsUsed) : (qint64(1) << m_header.bitCount);
    // Only the entries an index can reach are kept; the table itself was bounds-checked.
    const qint64 kept = qMin<qint64>(colors, qint64(1) << m_header.bitCount);
    m_palette.resize(int(kept));
    for (qint64 i = 0; i < kept; ++i) {
        const uchar* e = at(CDibDecoder::InfoHeaderSize + i * 4);
        m_palette[int(i)] = qRgb(e[2], e[1], e[0]);
    }
    return true;
}

bool Decoder::decodePlain(QImage& image) {
    if (m_bitsOffset + m_stride * m_rows > m_dib.size())
        return false;
    const bool opaque = m_kind == CDibDecoder::Kind::Bitmap;
    for (int line = 0; line < m_rows; ++line) {
        const uchar* src = at(m_bitsOffset + rowOf(line) * m_stride);
        QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(line));
        for (int x = 0; x < m_header.width; ++x) {
            switch (m_header.bitCount) {
            case 1:
                dst[x] = paletteColor((src[x >> 3] >> (7 - (x & 7))) & 1);
                break;
            case 4:
                dst[x] = paletteColor((src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
                break;
            case 8:
                dst[x] = paletteColor(src[x]);
                break;
            case 16: {
                const quint16 v = U16(src + 2 * x);
                dst[x] = qRgb(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31,
                              (v & 31) * 255 / 31);
                break;
            }
            case 24:
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            default: { // 32
                // Bitmaps ignore the fourth byte; icon images may carry their alpha in it.
                const uchar* px = src + 4 * x;
                dst[x] = qRgba(px[2], px[1], px[0], opaque ? 255 : px[3]);
                break;
            }
            }
        }
    }
    return true;
}

bool Decoder::decodeBitfields(QImage& image, const uchar* masks) {
    if (m_bitsOffset + m_stride * m_rows > m_dib.size())
        return false;
    const Channel red(U32(masks)), green(U32(masks + 4)), blue(U32(masks + 8));
    const int bytes = m_header.bitCount / 8;
    for (int line = 0; line < m_rows; ++line) {
        const uchar* src = at(m_bitsOffset + rowOf(line) * m_stride);
        QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(line));
        for (int x = 0; x < m_header.width; ++x) {
            const quint32 v = bytes == 2 ? U16(src + 2 * x) : U32(src + 4 * x);
            dst[x] = qRgb(red.value(v), green.value(v), blue.value(v));
        }
    }
    return true;
}

bool Decoder::decodeRle(QImage& image) {
    const bool four = m_header.compression == BiRle4;
    image.fill(paletteColor(0));
    qint64 pos = m_bitsOffset;
    const qint64 end = m_dib.size();
    int x = 0;
    int line = 0; // counted from the bottom
    auto put = [&](int index) {
        if (x < m_header.width && line < m_rows)
            reinterpret_cast<QRgb*>(image.scanLine(m_rows - 1 - line))[x] = paletteColor(index);
        ++x;
    };
    while (pos + 2 <= end) {
        const int count = *at(pos);
        const int value = *at(pos + 1);
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++line;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // delta
            if (pos + 2 > end)
                return false;
            x += *at(pos);
            line += *at(pos + 1);
            pos += 2;
        } else { // a run of literal indices, padded to a 16-bit boundary
            const qint64 bytes = four ? (value + 1) / 2 : value;
            if (pos + bytes > end)
                return false;
            for (int i = 0; i < value; ++i) {
                const int b = *at(pos + (four ? i / 2 : i));
                put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
            }
            pos += (bytes + 1) & ~qint64(1);
        }
        if (line >= m_rows)
            return true;
    }
    // Data that ends without its end-of-bitmap mark keeps the lines it had.
    return true;
}

bool Decoder::applyMask(QImage& image, qint64 maskOffset) {
    const qint64 stride = ((qint64(m_header.width) + 31) / 32) * 4;
    bool hasAlpha = false;
    if (m_header.bitCount == 32) {
        for (int y = 0; y < m_rows && !hasAlpha; ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < m_header.width && !hasAlpha; ++x)
                hasAlpha = qAlpha(row[x]) != 0;
        }
    }
    if (hasAlpha)
        return true;
    if (maskOffset + stride * m_rows > m_dib.size())
        return false;
    for (int line = 0; line < m_rows; ++line) {
        const uchar* src = at(maskOffset + rowOf(line) * stride);
        QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(line));
        for (int x = 0; x < m_header.width; ++x) {
            const bool transparent = (src[x >> 3] >> (7 - (x & 7))) & 1;
            dst[x] = transparent ? qRgba(0, 0, 0, 0) : (dst[x] | 0xFF000000u);
        }
    }
    return true;
}

QImage Decoder::run(int* error) {
    auto fail = [&]() {
        if (error)
            *error = m_error != 0 ? m_error : EINVAL;
        return QImage();
    };
    if (!readHeader() || !readPalette())
        return fail();
    const bool icon = m_kind == CDibDecoder::Kind::IconImage;
    if (icon && (m_header.compression == BiRle8 || m_header.compression == BiRle4))
        return fail();
    QImage image(m_header.width, m_rows, icon ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        m_error = ENOMEM;
        return fail();
    }
    bool ok = false;
    if (m_header.compression == BiRle8 || m_header.compression == BiRle4)
        ok = decodeRle(image);
    else if (m_header.compression == BiBitfields)
        ok = m_dib.size() >= CDibDecoder::InfoHeaderSize + 12 &&
             decodeBitfields(image, at(CDibDecoder::InfoHeaderSize));
    else
        ok = decodePlain(image);
    if (ok && icon)
        ok = applyMask(image, m_bitsOffset + m_stride * m_rows);
    if (!ok)
        return fail();
    if (error)
        *error = 0;
    return image;
}

} // namespace

qint64 CDibDecoder::BitsOffset(int bitCount, int compression, quint32 colorsUsed) {
    qint64 table = 0;
    if (bitCount <= 8)
        table = (colorsUsed != 0 ? qint64(colorsUsed) : (qint64(1) << bitCount)) * 4;
    else
        table = qint64(colorsUsed) * 4 + (compression == BiBitfields ? 12 : 0);
    return InfoHeaderSize + table;
}

QImage CDibDecoder::Decode(QByteArrayView dib, Kind kind, int* error) {
    return Decoder(dib, kind).run(error);
}
