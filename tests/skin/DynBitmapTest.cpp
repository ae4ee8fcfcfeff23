// BMP files: the header checks, colour tables, every pixel layout, damaged files and drawing.
#include "GuiTestApp.h"
#include "SkinTestFiles.h"

#include "skin/DynBitmap.h"
#include "support/TraceCapture.h"

#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace skintest;
using namespace Qt::StringLiterals;

namespace {

const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255);

bool LoadBytes(CDynBitmap& bitmap, QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return bitmap.load(buffer);
}

bool Load(CDynBitmap& bitmap, const BmpSpec& spec) {
    return LoadBytes(bitmap, MakeBmp(spec));
}

// The pixels of one row of a picture.
QList<QRgb> Row(const QImage& image, int y) {
    QList<QRgb> row;
    for (int x = 0; x < image.width(); ++x)
        row.append(image.pixel(x, y));
    return row;
}

using Pixels = QList<QList<QRgb>>;
// The rows, top first, of the BMP file built from the given layout; none when it does not load.
Pixels Rows(const BmpSpec& spec) {
    CDynBitmap bitmap;
    Pixels rows;
    for (int y = 0; Load(bitmap, spec) && y < bitmap.size().height(); ++y)
        rows.append(Row(bitmap.image(), y));
    return rows;
}

} // namespace

TEST(DynBitmap, ColourTablesOfEveryIndexWidth) {
    QList<QRgb> grey;
    for (int i = 0; i < 16; ++i)
        grey.append(qRgb(i * 16, 255 - i * 16, i));
    // Four bits, colours used 0: a 16-entry table. Indices: top row 0 1 15, bottom row 7 8 2.
    // The file header's pixel offset is wrong on purpose: the pixels follow the colour table.
    EXPECT_EQ(Rows({.width = 3,
                    .height = 2,
                    .bitCount = 4,
                    .table = grey,
                    .bits = QByteArray("\x78\x20\0\0\x01\xF0\0\0", 8),
                    .offBits = 999}),
              (Pixels{{grey[0], grey[1], grey[15]}, {grey[7], grey[8], grey[2]}}));
    // The colours used size the table; indices past it are black.
    const QRgb a = qRgb(10, 20, 30), b = qRgb(40, 50, 60), c = qRgb(3, 3, 3);
    EXPECT_EQ(Rows({.width = 4,
                    .bitCount = 4,
                    .colorsUsed = 2,
                    .table = {a, b},
                    .bits = QByteArray("\x01\x23\0\0", 4)}),
              (Pixels{{a, b, Black, Black}}));
    EXPECT_EQ(Rows({.width = 3,
                    .bitCount = 8,
                    .colorsUsed = 3,
                    .table = {a, b, c},
                    .bits = QByteArray("\x02\x00\x01\0", 4)}),
              (Pixels{{c, a, b}}));
    EXPECT_EQ(Rows({.width = 10,
                    .bitCount = 1,
                    .table = {Black, White},
                    .bits = QByteArray("\xA0\x40\0\0", 4)}),
              (Pixels{{White, Black, White, Black, Black, Black, Black, Black, Black, White}}));
}

TEST(DynBitmap, TrueColourLayouts) {
    // 24 bits, bottom-up with row padding, and the same top-down.
    const QRgb p1 = qRgb(1, 2, 3), p2 = qRgb(4, 5, 6), p3 = qRgb(7, 8, 9), p4 = qRgb(10, 11, 12);
    BmpSpec s{.width = 2, .height = 2, .bits = Bits24(2, {{p1, p2}, {p3, p4}})};
    EXPECT_EQ(Rows(s), (Pixels{{p1, p2}, {p3, p4}}));
    s.height = -2;
    EXPECT_EQ(Rows(s), (Pixels{{p3, p4}, {p1, p2}}));
    // 16 bits 5-5-5, then 5-6-5 bit fields whose three masks follow the header.
    EXPECT_EQ(Rows({.width = 2, .bitCount = 16, .bits = QByteArray("\x00\x7C\x1F\x00", 4)}),
              (Pixels{{qRgb(255, 0, 0), qRgb(0, 0, 255)}}));
    EXPECT_EQ(Rows({.width = 2,
                    .bitCount = 16,
                    .compression = 3,
                    .extra = QByteArray("\x00\xF8\0\0\xE0\x07\0\0\x1F\x00\0\0", 12),
                    .bits = QByteArray("\xE0\x07\x00\xF8", 4)}),
              (Pixels{{qRgb(0, 255, 0), qRgb(255, 0, 0)}}));
    // 32 bits: the fourth byte is not alpha in a bitmap.
    EXPECT_EQ(Rows({.bitCount = 32, .bits = QByteArray("\x30\x20\x10\x00", 4)}),
              (Pixels{{qRgba(0x10, 0x20, 0x30, 255)}}));

    // Run-length encoded 8 bits. Bottom row: three of 1, a literal run 2 3 2 (the last one past
    // the width, padded), end of line. Top row: a delta of two to the right, two of 3, end of
    // bitmap. Pixels the data skips keep colour 0.
    const QRgb r = qRgb(10, 0, 0), g = qRgb(0, 20, 0), b = qRgb(0, 0, 30);
    BmpSpec rle{.width = 5,
                .height = 2,
                .bitCount = 8,
                .compression = 1,
                .colorsUsed = 4,
                .table = {Black, r, g, b},
                .bits = QByteArray("\x03\x01\x00\x03\x02\x03\x02\x00\x00\x00"
                                   "\x00\x02\x02\x00\x02\x03\x00\x01",
                                   18)};
    EXPECT_EQ(Rows(rle), (Pixels{{Black, Black, b, b, Black}, {r, r, r, g, b}}));
    // Data cut inside a literal run fails.
    rle.bits = QByteArray("\x00\x05\x01\x02", 4);
    EXPECT_TRUE(Rows(rle).isEmpty());
}

TEST(DynBitmap, DamagedFilesFailWithTheirTraceAndKeepTheHeldBitmap) {
    TraceCapture trace;
    CDynBitmap bitmap;
    ASSERT_TRUE(LoadBytes(bitmap, SolidBmp(2, 2, Qt::green)));
    const QByteArray good = SolidBmp(4, 3, Qt::red);
    QByteArray wrongMagic = good, core = good;
    wrongMagic[1] = 'X';
    core[14] = 12; // a header of 12 bytes
    // Cut in the file header, a wrong magic, no info header, pixel rows cut short.
    for (const QByteArray& bytes :
         {good.left(13), wrongMagic, good.left(14), good.left(good.size() - 1), core})
        EXPECT_FALSE(LoadBytes(bitmap, bytes));
    // A bit count that does not exist, no width, a colour table past the end of the file,
    // run-length data of a top-down bitmap, a picture far too large for its few bytes (refused
    // before any memory is taken).
    EXPECT_FALSE(Load(bitmap, {.bitCount = 7, .bits = QByteArray(4, '\0')}));
    EXPECT_FALSE(Load(bitmap, {.width = 0}));
    EXPECT_FALSE(Load(bitmap, {.bitCount = 8, .colorsUsed = 100000}));
    EXPECT_FALSE(Load(
        bitmap, {.height = -1, .bitCount = 8, .compression = 1, .bits = QByteArray("\0\1", 2)}));
    EXPECT_FALSE(Load(bitmap, {.width = 100000, .height = 100000}));

    EXPECT_EQ(bitmap.size(), QSize(2, 2));
    EXPECT_EQ(bitmap.image().pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_TRUE(trace.hasLine("ERR", u"CDynBitmap::CreateFromFile : not a BMP file"_s));
    EXPECT_TRUE(trace.hasLine("ERR", u"CDynBitmap::CreateFromFile : CreateDIBitmap failed : 22"_s));
    EXPECT_TRUE(trace.hasLine("ERR", u"CDynBitmap::CreateFromFile : CreateDIBitmap failed : 12"_s));

    QTemporaryDir dir;
    EXPECT_FALSE(bitmap.load(dir.filePath(u"missing.bmp"_s)));
    EXPECT_EQ(bitmap.size(), QSize(2, 2));
}

TEST(DynBitmap, DrawsPlainStretchedAndTransparent) {
    EnsureGuiApp();
    const QRgb key = qRgb(255, 0, 255), green = qRgb(0, 200, 0), blue = qRgb(0, 0, 255);
    CDynBitmap bitmap;
    ASSERT_TRUE(Load(bitmap, {.width = 2, .bits = Bits24(2, {{key, green}})}));

    QImage target(6, 3, QImage::Format_RGB32);
    target.fill(blue);
    {
        QPainter p(&target);
        bitmap.draw(p, QPoint(0, 0));
        bitmap.drawTransparent(p, QPoint(2, 1), MakeColorRef(255, 0, 255));
        bitmap.drawStretched(p, QRect(2, 2, 4, 1));
    }
    // A plain copy keeps the key colour; transparent leaves the destination; stretched is twice
    // as wide.
    EXPECT_EQ(Row(target, 0), (QList<QRgb>{key, green, blue, blue, blue, blue}));
    EXPECT_EQ(Row(target, 1), (QList<QRgb>{blue, blue, blue, green, blue, blue}));
    EXPECT_EQ(Row(target, 2), (QList<QRgb>{blue, blue, key, key, green, green}));

    // Another transparent colour is honoured on the next draw.
    target.fill(blue);
    {
        QPainter p(&target);
        bitmap.drawTransparent(p, QPoint(0, 0), MakeColorRef(0, 200, 0));
    }
    EXPECT_EQ(Row(target, 0).mid(0, 2), (QList<QRgb>{key, blue}));

    // Copying a rectangle of a picture into the bitmap.
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(qRgb(1, 2, 3));
    source.setPixel(2, 1, qRgb(9, 9, 9));
    bitmap.copyFrom(source, QRect(2, 1, 2, 3));
    EXPECT_EQ(bitmap.size(), QSize(2, 3));
    EXPECT_EQ(Row(bitmap.image(), 0), (QList<QRgb>{qRgb(9, 9, 9), qRgb(1, 2, 3)}));
}
