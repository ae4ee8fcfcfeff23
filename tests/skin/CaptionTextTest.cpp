// Fitting captions: end ellipsis and the path ellipsis that keeps the file name.
#include "GuiTestApp.h"

#include "skin/CaptionText.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CaptionText, EllipsisKeepsWhatFitsAndThePathKeepsItsName) {
    EnsureGuiApp();
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(12);
    const QFontMetrics m(font);
    const QString path = u"/home/ann/Music/Field recordings/blackbird.mp3"_s;
    EXPECT_EQ(ElidePath(path, m, 10000), path);
    EXPECT_EQ(ElideEnd(path, m, 10000), path);

    const int width = m.horizontalAdvance(u"/home/ann/.../blackbird.mp3"_s);
    const QString shortPath = ElidePath(path, m, width);
    EXPECT_TRUE(shortPath.endsWith(u".../blackbird.mp3"_s));
    EXPECT_TRUE(shortPath.startsWith(u"/home/"_s));
    EXPECT_LE(m.horizontalAdvance(shortPath), width);

    const QString end = ElideEnd(path, m, width);
    EXPECT_TRUE(end.startsWith(u"/home/ann/"_s));
    EXPECT_TRUE(end.endsWith(u"..."_s));
    EXPECT_LE(m.horizontalAdvance(end), width);

    // Too narrow for even ".../name": the name itself is cut at its end.
    const QString tiny = ElidePath(path, m, m.horizontalAdvance(u".../black"_s));
    EXPECT_TRUE(tiny.startsWith(u".../"_s));
    EXPECT_TRUE(tiny.endsWith(u"..."_s));
    // Backslashes separate too; a name without a folder is cut at its end.
    EXPECT_TRUE(
        ElidePath(u"C:\\a long folder name\\x.wav"_s, m, m.horizontalAdvance(u"C:\\a...\\x.wav"_s))
            .endsWith(u"...\\x.wav"_s));
    EXPECT_EQ(ElidePath(u"abcdefghijklmnop"_s, m, m.horizontalAdvance("abc...")), u"abc..."_s);
    EXPECT_EQ(ElideEnd(u"abc"_s, m, 0), u"..."_s);
}
