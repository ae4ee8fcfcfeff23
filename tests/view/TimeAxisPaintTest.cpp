// Tests of the time axis drawing: ticks and base line in the pen colour, sharp at a pixel ratio
// of 2.
#include "platform/axis/gui/TimeAxis.h"
#include "skin/GuiTestApp.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(TimeAxisPaintTest, TicksAndLabelsAreDrawnSharpInThePenColourAtPixelRatio2) {
    EnsureGuiApp();
    const QColor axisColour(138, 148, 163);
    const QPen pen(axisColour, 1, Qt::SolidLine);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    CTimeAxis axis(font, pen, pen, 2.5f);
    axis.SetAxisParamsEx(3, 6, 10, 16);
    axis.SetBorders(CQTime::FromElapsedSince2000(0), CQTime::FromElapsedSince2000(60000));

    QImage image(QSize(800, 120), QImage::Format_ARGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::black);
    const QRect rect(QPoint(10, 5), QPoint(390, 55));
    {
        QPainter painter(&image);
        axis.Paint(painter, rect, rect, false);
    }
    image.save(QStringLiteral("time-axis-dpr2.png"));

    const QRgb ink = axisColour.rgb();
    // Base line: logical row 5 is device rows 10 and 11, every column, no blurred neighbours.
    int ticks = 0;
    for (int x = 20; x <= 781; ++x) {
        ASSERT_EQ(image.pixel(x, 10), ink) << x;
        ASSERT_EQ(image.pixel(x, 11), ink) << x;
        ASSERT_EQ(image.pixel(x, 9), QColor(Qt::black).rgb()) << x;
        // Below the line each column holds a whole tick (3 logical rows at least) or nothing.
        if (image.pixel(x, 12) == ink) {
            ticks += 1;
            for (int y = 13; y <= 17; ++y)
                ASSERT_EQ(image.pixel(x, y), ink) << x << "," << y;
        } else {
            ASSERT_EQ(image.pixel(x, 12), QColor(Qt::black).rgb()) << x;
        }
    }
    EXPECT_EQ(ticks % 2, 0); // each tick two device columns wide
    EXPECT_GE(ticks, 2 * 20);
    // Big ticks at 0:00 and 1:00 (columns 10 and 390): 10 logical rows below the line, then gap.
    for (const int x : {20, 21, 780, 781}) {
        for (int y = 12; y <= 31; ++y)
            ASSERT_EQ(image.pixel(x, y), ink) << x << "," << y;
        EXPECT_EQ(image.pixel(x, 32), QColor(Qt::black).rgb()) << x;
    }
    // Labels below: some ink in the text rows, and only black outside the rectangle.
    int textInk = 0;
    for (int y = 42; y < 70; ++y)
        for (int x = 0; x < 800; ++x)
            textInk += image.pixel(x, y) != QColor(Qt::black).rgb();
    EXPECT_GT(textInk, 100);
    for (int x = 0; x < 800; ++x)
        ASSERT_EQ(image.pixel(x, 115), QColor(Qt::black).rgb());
}
