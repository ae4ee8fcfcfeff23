// The selection's validation and which fade yields when the fades overlap or the markers move.
#include "encode/CutInfo.h"

#include <gtest/gtest.h>

namespace {
CCutInfo Cut(qint64 start, qint64 end, qint32 fadeIn = 0, qint32 fadeOut = 0) {
    CCutInfo cut;
    cut.setStart(start);
    cut.setEnd(end);
    cut.setFadeIn(fadeIn);
    cut.setFadeOut(fadeOut);
    cut.validate();
    return cut;
}
} // namespace

TEST(CutInfo, ValidateAcceptsOneToThirtySecondsAndResetsAnythingElse) {
    EXPECT_TRUE(Cut(0, 1000).isValid());
    EXPECT_TRUE(Cut(5000, 35000).isValid());
    for (const CCutInfo& bad :
         {Cut(0, 999), Cut(5000, 35001), Cut(-1, 5000), Cut(5000, 4000), Cut(3000, 3000)}) {
        EXPECT_FALSE(bad.isValid());
        EXPECT_EQ(bad, CCutInfo()); // reset: every field 0
    }
}

TEST(CutInfo, TheFadeNotBeingChangedYieldsAndFadesStayWithinTheSelection) {
    CCutInfo cut = Cut(0, 10000, 0, 5000);
    cut.setFadeIn(8000);
    EXPECT_EQ(cut.fadeOut(), 2000);
    EXPECT_EQ(cut.getFadeOutBegin(), 8000);
    cut = Cut(1000, 11000, 6000, 0);
    cut.setFadeOut(7000);
    EXPECT_EQ(cut.fadeIn(), 3000);
    // Moving the end inwards shortens the fade-out; moving the start, the fade-in.
    cut = Cut(0, 10000, 4000, 4000);
    cut.setEnd(6000);
    EXPECT_EQ(std::pair(cut.fadeIn(), cut.fadeOut()), std::pair(4000, 2000));
    cut = Cut(0, 10000, 4000, 4000);
    cut.setStart(4000);
    EXPECT_EQ(std::pair(cut.fadeIn(), cut.fadeOut()), std::pair(2000, 4000));
    // A fade longer than the selection is cut to it; a negative one to nothing.
    cut = Cut(0, 5000);
    cut.setFadeIn(9000);
    EXPECT_EQ(cut.fadeIn(), 5000);
    cut.setFadeIn(-300);
    cut.setFadeOut(-5);
    EXPECT_EQ(std::pair(cut.fadeIn(), cut.fadeOut()), std::pair(0, 0));
    // Fade edges set from times.
    cut = Cut(2000, 12000);
    cut.setFadeInEnd(3500);
    cut.setFadeOutBegin(9000);
    EXPECT_EQ(std::pair(cut.fadeIn(), cut.fadeOut()), std::pair(1500, 3000));
    EXPECT_EQ(cut.getFadeInEnd(), 3500);
}
