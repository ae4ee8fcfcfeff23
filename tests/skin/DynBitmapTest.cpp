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

namespace {

QList<QRgb> Grey16() {
    QList<QRgb> table;
    for (int i = 0; i < 16; ++i)
        table.append(qRgb(i * 16, 255 - i * 16, i));
    return table;
}

bool Load(CDynBitmap& bitmap, const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return bitmap.load(buffer);
}

QRgb Pixel(const CDynBitmap& bitmap, int x, int y) {
    return bitmap.image().pixel(x, y);
}

} // namespace

TEST(DynBitmap, ColourTablesOfEveryIndexWidth) {
    // 3 x 2 pixels, bottom-up; each row 4 bytes. Indices: top row 0 1 15, bottom row 7 8 2.
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bitCount = 4;
    s.table = Grey16();
    s.bits = QByteArray("\x78\x20\0\0"
                        "\x01\xF0\0\0",
                        8);
    // The file header's offset is wrong on purpose: the pixels follow the colour table.
    s.offBits = 999;
    CDynBitmap bitmap;
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(bitmap.size(), QSize(3, 2));
    EXPECT_EQ(Pixel(bitmap, 0, 0), Grey16()[0]);
    EXPECT_EQ(Pixel(bitmap, 1, 0), Grey16()[1]);
    EXPECT_EQ(Pixel(bitmap, 2, 0), Grey16()[15]);
    EXPECT_EQ(Pixel(bitmap, 0, 1), Grey16()[7]);
    EXPECT_EQ(Pixel(bitmap, 1, 1), Grey16()[8]);
    EXPECT_EQ(Pixel(bitmap, 2, 1), Grey16()[2]);

    // The colours used size the table; indices past it are black.
    s = BmpSpec();
    s.width = 4;
    s.height = 1;
    s.bitCount = 4;
    s.colorsUsed = 2;
    s.table = {qRgb(10, 20, 30), qRgb(40, 50, 60)};
    s.bits = QByteArray("\x01\x23\0\0", 4);
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(Pixel(bitmap, 1, 0), qRgb(40, 50, 60));
    EXPECT_EQ(Pixel(bitmap, 2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(bitmap, 3, 0), qRgb(0, 0, 0));

    // Eight bits with a 3-entry table, one bit with the full two-entry table.
    s = BmpSpec();
    s.width = 3;
    s.bitCount = 8;
    s.colorsUsed = 3;
    s.table = {qRgb(1, 1, 1), qRgb(2, 2, 2), qRgb(3, 3, 3)};
    s.bits = QByteArray("\x02\x00\x01\0", 4);
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(3, 3, 3));
    EXPECT_EQ(Pixel(bitmap, 2, 0), qRgb(2, 2, 2));
    s = BmpSpec();
    s.width = 10;
    s.bitCount = 1;
    s.table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    s.bits = QByteArray("\xA0\x40\0\0", 4);
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Pixel(bitmap, 1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(bitmap, 2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Pixel(bitmap, 9, 0), qRgb(255, 255, 255));
}

TEST(DynBitmap, TrueColourLayouts) {
    CDynBitmap bitmap;
    // 24 bits, bottom-up with row padding, and the same top-down.
    BmpSpec s;
    s.width = 2;
    s.height = 2;
    s.bits = Bits24(2, {{qRgb(1, 2, 3), qRgb(4, 5, 6)}, {qRgb(7, 8, 9), qRgb(10, 11, 12)}});
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(Pixel(bitmap, 1, 1), qRgb(10, 11, 12));
    s.height = -2;
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(7, 8, 9));
    EXPECT_EQ(Pixel(bitmap, 1, 1), qRgb(4, 5, 6));

    // 16 bits 5-5-5.
    s = BmpSpec();
    s.width = 2;
    s.bitCount = 16;
    s.bits = QByteArray("\x00\x7C\x1F\x00", 4); // red, blue
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(Pixel(bitmap, 1, 0), qRgb(0, 0, 255));

    // 16 bits with 5-6-5 bit fields: the three masks follow the header.
    s.compression = 3;
    s.extra = QByteArray("\x00\xF8\0\0"
                         "\xE0\x07\0\0"
                         "\x1F\x00\0\0",
                         12);
    s.bits = QByteArray("\xE0\x07\x00\xF8", 4); // green, red
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(Pixel(bitmap, 1, 0), qRgb(255, 0, 0));

    // 32 bits: the fourth byte is not alpha in a bitmap.
    s = BmpSpec();
    s.bitCount = 32;
    s.bits = QByteArray("\x30\x20\x10\x00", 4);
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(bitmap.image().pixel(0, 0), qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(qAlpha(bitmap.image().pixel(0, 0)), 255);
}

TEST(DynBitmap, RunLengthEncodedEightBits) {
    BmpSpec s;
    s.width = 5;
    s.height = 2;
    s.bitCount = 8;
    s.compression = 1;
    s.colorsUsed = 4;
    s.table = {qRgb(0, 0, 0), qRgb(10, 0, 0), qRgb(0, 20, 0), qRgb(0, 0, 30)};
    // Bottom row: three of 1, a literal run 2 3 2 (the last one past the width, padded), end of
    // line. Top row: a delta of two to the right, two of 3, end of bitmap.
    s.bits = QByteArray("\x03\x01"
                        "\x00\x03\x02\x03\x02\x00"
                        "\x00\x00"
                        "\x00\x02\x02\x00"
                        "\x02\x03"
                        "\x00\x01",
                        18);
    CDynBitmap bitmap;
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));
    EXPECT_EQ(Pixel(bitmap, 0, 1), qRgb(10, 0, 0));
    EXPECT_EQ(Pixel(bitmap, 2, 1), qRgb(10, 0, 0));
    EXPECT_EQ(Pixel(bitmap, 3, 1), qRgb(0, 20, 0));
    EXPECT_EQ(Pixel(bitmap, 4, 1), qRgb(0, 0, 30));
    // Pixels the data skips keep colour 0.
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(bitmap, 2, 0), qRgb(0, 0, 30));
    EXPECT_EQ(Pixel(bitmap, 3, 0), qRgb(0, 0, 30));
    EXPECT_EQ(Pixel(bitmap, 4, 0), qRgb(0, 0, 0));
    // Data cut inside a literal run fails.
    s.bits = QByteArray("\x00\x05\x01\x02", 4);
    EXPECT_FALSE(Load(bitmap, MakeBmp(s)));
}

TEST(DynBitmap, DamagedFilesFailWithTheirTraceAndKeepTheHeldBitmap) {
    TraceCapture trace;
    CDynBitmap bitmap;
    ASSERT_TRUE(Load(bitmap, SolidBmp(2, 2, Qt::green)));
    const QByteArray good = SolidBmp(4, 3, Qt::red);

    EXPECT_FALSE(Load(bitmap, good.left(13)));
    QByteArray wrongMagic = good;
    wrongMagic[1] = 'X';
    EXPECT_FALSE(Load(bitmap, wrongMagic));
    EXPECT_FALSE(Load(bitmap, good.left(14)));
    // Pixel rows cut short, a bit count that does not exist, no width, a header of 12 bytes.
    EXPECT_FALSE(Load(bitmap, good.left(good.size() - 1)));
    BmpSpec s;
    s.bitCount = 7;
    s.bits = QByteArray(4, '\0');
    EXPECT_FALSE(Load(bitmap, MakeBmp(s)));
    s = BmpSpec();
    s.width = 0;
    EXPECT_FALSE(Load(bitmap, MakeBmp(s)));
    QByteArray core = good;
    core[14] = 12;
    EXPECT_FALSE(Load(bitmap, core));
    // A colour table that runs past the end of the file.
    s = BmpSpec();
    s.bitCount = 8;
    s.colorsUsed = 100000;
    EXPECT_FALSE(Load(bitmap, MakeBmp(s)));
    // Run-length data of a top-down bitmap, and of a 24-bit bitmap.
    s = BmpSpec();
    s.bitCount = 8;
    s.height = -1;
    s.compression = 1;
    s.bits = QByteArray("\0\1", 2);
    EXPECT_FALSE(Load(bitmap, MakeBmp(s)));
    // A picture far too large for its few bytes is refused before any memory is taken.
    s = BmpSpec();
    s.width = 100000;
    s.height = 100000;
    EXPECT_FALSE(Load(bitmap, MakeBmp(s)));

    EXPECT_EQ(bitmap.size(), QSize(2, 2));
    EXPECT_EQ(Pixel(bitmap, 1, 1), qRgb(0, 255, 0));
    EXPECT_TRUE(
        trace.hasLine("ERR", QStringLiteral("CDynBitmap::CreateFromFile : not a BMP file")));
    EXPECT_TRUE(trace.hasLine(
        "ERR", QStringLiteral("CDynBitmap::CreateFromFile : CreateDIBitmap failed : 22")));
    EXPECT_TRUE(trace.hasLine(
        "ERR", QStringLiteral("CDynBitmap::CreateFromFile : CreateDIBitmap failed : 12")));

    QTemporaryDir dir;
    EXPECT_FALSE(bitmap.load(dir.filePath(QStringLiteral("missing.bmp"))));
    EXPECT_EQ(bitmap.size(), QSize(2, 2));
}

TEST(DynBitmap, DrawsPlainStretchedAndTransparent) {
    EnsureGuiApp();
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = Bits24(2, {{qRgb(255, 0, 255), qRgb(0, 200, 0)}});
    CDynBitmap bitmap;
    ASSERT_TRUE(Load(bitmap, MakeBmp(s)));

    QImage target(6, 3, QImage::Format_RGB32);
    target.fill(qRgb(0, 0, 255));
    {
        QPainter p(&target);
        bitmap.draw(p, QPoint(0, 0));
        bitmap.drawTransparent(p, QPoint(2, 1), MakeColorRef(255, 0, 255));
        bitmap.drawStretched(p, QRect(2, 2, 4, 1));
    }
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 255)); // plain copy keeps the key colour
    EXPECT_EQ(target.pixel(1, 0), qRgb(0, 200, 0));
    EXPECT_EQ(target.pixel(2, 1), qRgb(0, 0, 255)); // transparent: destination unchanged
    EXPECT_EQ(target.pixel(3, 1), qRgb(0, 200, 0));
    EXPECT_EQ(target.pixel(2, 2), qRgb(255, 0, 255)); // stretched to twice the width
    EXPECT_EQ(target.pixel(3, 2), qRgb(255, 0, 255));
    EXPECT_EQ(target.pixel(5, 2), qRgb(0, 200, 0));

    // Another transparent colour is honoured on the next draw.
    target.fill(qRgb(0, 0, 255));
    {
        QPainter p(&target);
        bitmap.drawTransparent(p, QPoint(0, 0), MakeColorRef(0, 200, 0));
    }
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 255));
    EXPECT_EQ(target.pixel(1, 0), qRgb(0, 0, 255));

    // Copying a rectangle of a picture into the bitmap.
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(qRgb(1, 2, 3));
    source.setPixel(2, 1, qRgb(9, 9, 9));
    bitmap.copyFrom(source, QRect(2, 1, 2, 3));
    EXPECT_EQ(bitmap.size(), QSize(2, 3));
    EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(9, 9, 9));
    EXPECT_EQ(Pixel(bitmap, 1, 2), qRgb(1, 2, 3));
}
