// Cursor files: bitmap and PNG images, masks, hot spots, animated cursors and damaged files.
#include "GuiTestApp.h"
#include "SkinTestFiles.h"

#include "skin/CursorFile.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace skintest;

namespace {
QByteArray Chunk(const char* id, const QByteArray& body) {
    QByteArray out(id, 4);
    char size[4];
    qToLittleEndian(quint32(body.size()), size);
    out.append(size, 4);
    out.append(body);
    if (body.size() & 1)
        out.append('\0');
    return out;
}
} // namespace

TEST(CursorFile, BitmapImagesWithAlphaOrMaskAndTheHotSpot) {
    EnsureGuiApp();
    CCursorFile file;
    ASSERT_TRUE(file.loadData(
        IconDirectory(2, 8, 8, QPoint(1, 6), IconImage32(8, 8, qRgba(200, 100, 50, 128)))));
    EXPECT_EQ(file.image().size(), QSize(8, 8));
    EXPECT_EQ(file.image().pixel(3, 3), qRgba(200, 100, 50, 128));
    EXPECT_EQ(file.cursor().hotSpot(), QPoint(1, 6));

    // Without alpha the mask decides: its left half is transparent.
    ASSERT_TRUE(file.loadData(
        IconDirectory(2, 8, 4, QPoint(0, 0), IconImage24HalfMasked(8, 4, qRgb(9, 8, 7)))));
    EXPECT_EQ(file.image().size(), QSize(8, 4));
    EXPECT_EQ(qAlpha(file.image().pixel(3, 2)), 0);
    EXPECT_EQ(file.image().pixel(4, 2), qRgba(9, 8, 7, 255));

    // An icon has no hot spot of its own: the centre is taken.
    ASSERT_TRUE(file.loadData(
        IconDirectory(1, 8, 8, QPoint(1, 32), IconImage32(8, 8, qRgba(1, 1, 1, 255)))));
    EXPECT_EQ(file.hotSpot(), QPoint(4, 4));
}

TEST(CursorFile, PngImagesAndAnimatedCursorsGiveTheirPicture) {
    EnsureGuiApp();
    QImage png(5, 7, QImage::Format_ARGB32);
    png.fill(qRgba(0, 0, 255, 255));
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(png.save(&buffer, "PNG"));
    const QByteArray cur = IconDirectory(2, 5, 7, QPoint(2, 3), pngBytes);
    CCursorFile file;
    ASSERT_TRUE(file.loadData(cur));
    EXPECT_EQ(file.image().size(), QSize(5, 7));
    EXPECT_EQ(file.image().pixel(4, 6), qRgba(0, 0, 255, 255));

    const QByteArray frames =
        QByteArray("fram") + Chunk("icon", cur) +
        Chunk("icon", IconDirectory(2, 8, 8, QPoint(0, 0), IconImage32(8, 8, qRgba(1, 2, 3, 255))));
    const QByteArray body =
        QByteArray("ACON") + Chunk("anih", QByteArray(36, '\0')) + Chunk("LIST", frames);
    CCursorFile animated;
    ASSERT_TRUE(animated.loadData(Chunk("RIFF", body)));
    EXPECT_EQ(animated.image().size(), QSize(5, 7));
    EXPECT_EQ(animated.hotSpot(), QPoint(2, 3));

    // A RIFF file of another form, or one without frames, is no cursor.
    for (const char* form : {"WAVE", "ACON"})
        EXPECT_FALSE(animated.loadData(
            Chunk("RIFF", QByteArray(form) + Chunk("anih", QByteArray(36, '\0')))));
}

TEST(CursorFile, DamagedFilesAreRefused) {
    EnsureGuiApp();
    const QByteArray good =
        IconDirectory(2, 8, 8, QPoint(0, 0), IconImage32(8, 8, qRgba(1, 1, 1, 255)));
    const auto with = [&](int at, char value) {
        QByteArray bytes = good;
        bytes[at] = value;
        return bytes;
    };
    // Empty, cut in the header, the entry or the picture; a wrong type, no image, a picture
    // offset far past the end; an animated cursor whose list runs past the end.
    CCursorFile file;
    for (const QByteArray& bytes :
         {QByteArray(), good.left(5), good.left(21), good.left(good.size() - 1), with(2, 3),
          with(4, 0), with(19, char(0xFF)),
          QByteArray("RIFF\x10\0\0\0ACONLIST\xFF\xFF\0\0fram", 24)})
        EXPECT_FALSE(file.loadData(bytes)) << bytes.toHex().left(48).constData();
    EXPECT_TRUE(file.image().isNull());
}
