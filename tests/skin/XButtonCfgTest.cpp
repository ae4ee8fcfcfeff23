// Reading button sections: required keys per kind, the order keys are tried in, and defaults.
#include "GuiTestApp.h"
#include "SkinTestFiles.h"

#include "skin/SkinParser.h"
#include "skin/XButtonCfg.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace skintest;

namespace {

class XButtonCfgTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        WriteFile(m_dir.filePath(u"a.bmp"_s), SolidBmp(4, 2, Qt::red));
        WriteFile(m_dir.filePath(u"b.bmp"_s), SolidBmp(6, 3, Qt::green));
        WriteFile(m_dir.filePath(u"c.bmp"_s), SolidBmp(8, 4, Qt::blue));
        WriteFile(m_dir.filePath(u"r.rgn"_s), RegionData({QRect(0, 0, 2, 2)}));
        WriteFile(m_dir.filePath(u"h.cur"_s),
                  IconDirectory(2, 4, 4, QPoint(1, 1), IconImage32(4, 4, qRgba(0, 0, 0, 255))));
    }
    // Loads the section "[b]" with the entries for the kind into config.
    bool load(const QByteArray& entries, int kind, bool ignoreVisible = false) {
        const QString path = m_dir.filePath(u"t.sdf"_s);
        WriteFile(path, "PP_SDF=1\n[b]\n" + entries + "\n[other]\nsize=99,99\n");
        CSkinParser parser;
        if (!parser.init(path, u"PP_SDF"_s))
            return false;
        config = CXButtonCfg();
        return config.load(parser, u"[b]"_s, kind, ignoreVisible);
    }

    QTemporaryDir m_dir;
    CXButtonCfg config;
};

const QByteArray Minimal = "position=10,5,50,0\nsize=40,20\nbitmap_up=a.bmp\n";

} // namespace

TEST_F(XButtonCfgTest, LabelsNeedPositionSizeAndUpButtonsAlsoDownAndMouseOver) {
    EXPECT_TRUE(load(Minimal, 3));
    EXPECT_EQ((QList<QPoint>{config.position, config.anchor, config.size}),
              (QList<QPoint>{{10, 5}, {50, 0}, {40, 20}}));
    EXPECT_FALSE(config.mouseover);
    EXPECT_FALSE(load(Minimal, 0) || load(Minimal + "bitmap_do=b.bmp\n", 0));
    EXPECT_TRUE(load(Minimal + "bitmap_off_do=b.bmp\nbitmap_off_mo=c.bmp\n", 0));
    EXPECT_EQ(config.bitmapDown.size(), QSize(6, 3));
    EXPECT_EQ(config.bitmapMouseOver.size(), QSize(8, 4));
    for (const char* without : {"size=1,1\nbitmap_up=a.bmp\n", "position=1,1\nbitmap_up=a.bmp\n",
                                "position=1,1\nsize=1,1\n"})
        EXPECT_FALSE(load(without, 3)) << without;
    // The section must exist; the next section's entries are not part of it.
    EXPECT_FALSE(load("", 3));
    EXPECT_EQ(config.size, QPoint(10, 10));
    // A named bitmap that cannot be loaded counts as not read.
    EXPECT_FALSE(load("position=1,1\nsize=1,1\nbitmap_up=missing.bmp\n", 3));
}

TEST_F(XButtonCfgTest, BitmapKeysTheLaterWinsOtherEntriesMouseoverAndNotUsed) {
    ASSERT_TRUE(load(Minimal + "bitmap_off_up=b.bmp\n", 3));
    EXPECT_EQ(config.bitmapUp.size(), QSize(6, 3));
    ASSERT_TRUE(load("bitmap_off_up=b.bmp\n" + Minimal, 3));
    EXPECT_EQ(config.bitmapUp.size(), QSize(4, 2));
    ASSERT_TRUE(load(Minimal + "bitmap_da=b.bmp\nbitmap_off_da=c.bmp\n"
                               "bitmap_pd=a.bmp\nbitmap_on_do=b.bmp\nbitmap_od=c.bmp\n"
                               "bitmap_on_da=a.bmp\n",
                     3));
    EXPECT_EQ((QList<QSize>{config.bitmapDisabled.size(), config.bitmapOnUp.size(),
                            config.bitmapOnDown.size(), config.bitmapOnMouseOver.size(),
                            config.bitmapOnDisabled.size()}),
              (QList<QSize>{{8, 4}, {4, 2}, {6, 3}, {8, 4}, {4, 2}}));
    EXPECT_FALSE(config.mouseover);

    // Any other entry turns mouseover on.
    ASSERT_TRUE(load(Minimal + "mouseover=0\n", 3));
    EXPECT_TRUE(config.mouseover);
    // So does an entry of a known key whose value does not convert.
    ASSERT_TRUE(load(Minimal + "bitmap_da=missing.bmp\n", 3));
    EXPECT_TRUE(config.mouseover);
    EXPECT_TRUE(config.bitmapDisabled.isNull());
    // With the visible key ignored, "visible" is just another entry.
    ASSERT_TRUE(load(Minimal + "visible=0\n", 3, true));
    EXPECT_TRUE(config.visible);
    EXPECT_TRUE(config.mouseover);
    ASSERT_TRUE(load(Minimal + "visible=0\n", 3));
    EXPECT_FALSE(config.visible);
    EXPECT_FALSE(config.mouseover);

    // True: loaded without the required keys.
    ASSERT_TRUE(load("not_used=1\n", 0));
    EXPECT_FALSE(config.visible);
    EXPECT_TRUE(config.notUsed);
    // False: hidden, and the entries after it are not read.
    EXPECT_FALSE(load("not_used=0\n" + Minimal, 3));
    EXPECT_FALSE(config.visible);
    EXPECT_EQ(config.size, QPoint(10, 10));
    ASSERT_TRUE(load(Minimal + "not_used=0\ncaption=late\n", 3));
    EXPECT_FALSE(config.visible);
    EXPECT_TRUE(config.caption.isEmpty());
}

TEST_F(XButtonCfgTest, EveryOtherKeyFillsItsField) {
    ASSERT_TRUE(
        load(Minimal + "font_color_up=1,2,3\nfont_color_do=4,5,6\nfont_color_mo=7,8,9\n"
                       "font_color_da=10,11,12\nfocus_color=13,14,15\n"
                       "font=DejaVu Sans,-12,bold\nalign=-4,3\nxbounds=6,8\ncaption=Send it, now\n"
                       "cursor=h.cur\nregion_paint=r.rgn\nmultiline=1\n"
                       "resize_behavior=RESIZE_ON_XY_NO_MOVE\n",
             3));
    EXPECT_EQ((QList<ColorRef>{config.colorUp, config.colorDown, config.colorMouseOver,
                               config.colorDisabled, config.colorFocus}),
              (QList<ColorRef>{MakeColorRef(1, 2, 3), MakeColorRef(4, 5, 6), MakeColorRef(7, 8, 9),
                               MakeColorRef(10, 11, 12), MakeColorRef(13, 14, 15)}));
    EXPECT_EQ(config.font.logFont().weight, 700);
    EXPECT_EQ((QList<QPoint>{config.align, config.xbounds}), (QList<QPoint>{{-4, 3}, {6, 8}}));
    EXPECT_EQ(config.caption, u"Send it, now"_s);
    ASSERT_TRUE(config.cursor.has_value());
    EXPECT_EQ(config.cursor->hotSpot(), QPoint(1, 1));
    EXPECT_EQ(config.paintRegion.region(), QRegion(0, 0, 2, 2));
    EXPECT_TRUE(config.multiline);
    EXPECT_EQ(config.resizeBehavior, CXButtonCfg::ResizeOnXYNoMove);
    EXPECT_FALSE(config.mouseover);

    ASSERT_TRUE(load(Minimal + "resize_behavior=RESIZE_ON_Y\nresize_behavior=SIDEWAYS\n"
                               "resize_behavior=resize_on_x\n",
                     3));
    EXPECT_EQ(config.resizeBehavior, CXButtonCfg::ResizeOnY);
}
