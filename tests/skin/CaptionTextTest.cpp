// Fitting captions: end ellipsis and the path ellipsis that keeps the file name.
#include "GuiTestApp.h"

#include "skin/CaptionText.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

TEST(CaptionText, EllipsisKeepsWhatFitsAndThePathKeepsItsName) {
    EnsureGuiApp();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const QFontMetrics m(font);
    const QString path = QStringLiteral("/home/ann/Music/Field recordings/blackbird.mp3");
    EXPECT_EQ(ElidePath(path, m, 10000), path);
    EXPECT_EQ(ElideEnd(path, m, 10000), path);

    const int width = m.horizontalAdvance(QStringLiteral("/home/ann/.../blackbird.mp3"));
    const QString shortPath = ElidePath(path, m, width);
    EXPECT_TRUE(shortPath.endsWith(QStringLiteral(".../blackbird.mp3")));
    EXPECT_TRUE(shortPath.startsWith(QStringLiteral("/home/")));
    EXPECT_LE(m.horizontalAdvance(shortPath), width);

    const QString end = ElideEnd(path, m, width);
    EXPECT_TRUE(end.startsWith(QStringLiteral("/home/ann/")));
    EXPECT_TRUE(end.endsWith(QStringLiteral("...")));
    EXPECT_LE(m.horizontalAdvance(end), width);

    // Too narrow for even ".../name": the name itself is cut at its end.
    const QString tiny = ElidePath(path, m, m.horizontalAdvance(QStringLiteral(".../black")));
    EXPECT_TRUE(tiny.startsWith(QStringLiteral(".../")));
    EXPECT_TRUE(tiny.endsWith(QStringLiteral("...")));
    // Backslashes separate too; a name without a folder is cut at its end.
    EXPECT_TRUE(ElidePath(QStringLiteral("C:\\a long folder name\\x.wav"), m,
                          m.horizontalAdvance(QStringLiteral("C:\\a...\\x.wav")))
                    .endsWith(QStringLiteral("...\\x.wav")));
    EXPECT_EQ(ElidePath(QStringLiteral("abcdefghijklmnop"), m, m.horizontalAdvance("abc...")),
              QStringLiteral("abc..."));
    EXPECT_EQ(ElideEnd(QStringLiteral("abc"), m, 0), QStringLiteral("..."));
}
