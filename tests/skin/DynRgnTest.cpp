// Region files: the header, the rectangles, scaling, and damaged data.
#include "SkinTestFiles.h"

#include "skin/DynRgn.h"
#include "support/TraceCapture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace skintest;

TEST(DynRgn, RectanglesOfTheFileMakeTheRegion) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"w.rgn"_s);
    // A rounded-corner shape: a narrower first row, then full rows.
    WriteFile(path, RegionData({QRect(2, 0, 6, 1), QRect(0, 1, 10, 4)}) + QByteArray("trailing"));
    CDynRgn region;
    EXPECT_TRUE(region.isNull());
    ASSERT_TRUE(region.load(path));
    EXPECT_FALSE(region.isNull());
    EXPECT_EQ(region.region(), QRegion(2, 0, 6, 1) + QRegion(0, 1, 10, 4));
    EXPECT_FALSE(region.region().contains(QPoint(0, 0)));
    EXPECT_TRUE(region.region().contains(QPoint(9, 4)));

    ASSERT_TRUE(region.loadData(RegionData({QRect(1, 2, 3, 4)}), 2.0, 0.5));
    EXPECT_EQ(region.region(), QRegion(2, 1, 6, 2));
    // Empty rectangles add nothing; no rectangles at all is an empty region.
    ASSERT_TRUE(region.loadData(RegionData({QRect(5, 5, 0, 3)})));
    EXPECT_TRUE(region.region().isEmpty());
    EXPECT_FALSE(region.isNull());
}

TEST(DynRgn, DamagedDataFailsAndKeepsTheHeldRegion) {
    TraceCapture trace;
    CDynRgn region;
    ASSERT_TRUE(region.loadData(RegionData({QRect(0, 0, 3, 3)})));
    const QRegion held = region.region();
    EXPECT_FALSE(region.loadData(QByteArray(31, '\0')));
    EXPECT_FALSE(region.loadData(RegionData({QRect(0, 0, 1, 1)}, 40)));
    EXPECT_FALSE(region.loadData(RegionData({QRect(0, 0, 1, 1)}, 32, 2)));
    // A count larger than the rectangles the data holds.
    EXPECT_FALSE(region.loadData(RegionData({QRect(0, 0, 1, 1)}, 32, 1, 2)));
    EXPECT_FALSE(region.loadData(RegionData({}, 32, 1, 0xFFFFFFFF)));
    QTemporaryDir dir;
    EXPECT_FALSE(region.load(dir.filePath(u"none.rgn"_s)));
    EXPECT_EQ(region.region(), held);
    EXPECT_TRUE(trace.hasLine("ERR", u"CDynRgn::Load : region file too short (31 bytes)"_s));
    EXPECT_TRUE(trace.hasLine(
        "ERR", u"CDynRgn::Load : bad region data (header 32, type 1, 2 rectangles)"_s));
}
