// The level meter's arithmetic: decibels, the peak mark's hold and fall, and the clip lamp's hold.
#include "audio/LevelMeterController.h"
#include "audio/LevelMeterState.h"

#include <gtest/gtest.h>

TEST(LevelMeterTest, DecibelsPeakHoldAndClipHold) {
    EXPECT_NEAR(CLevelMeterState::Decibels(0), -90.31, 0.01); // silence
    EXPECT_DOUBLE_EQ(CLevelMeterState::Decibels(32767), 0.0);
    CLevelMeterState meter;
    meter.SetRange(-30, 0);
    meter.SetLevel(32767, 500);
    EXPECT_DOUBLE_EQ(meter.Peak(), 0.0);
    // The mark stays for ten quiet blocks, then falls faster and faster.
    for (int i = 0; i < 10; ++i)
        meter.SetLevel(0, 600);
    EXPECT_NEAR(meter.Peak(), 0.0, 1e-9);
    meter.SetLevel(0, 600);
    meter.SetLevel(0, 600);
    EXPECT_NEAR(meter.Peak(), -0.6, 1e-9);
    // Quarter buffers: the same hold and fall in time.
    CLevelMeterState parts;
    parts.SetRange(-30, 0);
    parts.SetLevel(32767, 0, 0.25);
    for (int i = 0; i < 40; ++i)
        parts.SetLevel(0, 0, 0.25);
    EXPECT_NEAR(parts.Peak(), 0.0, 1e-9);
    for (int i = 0; i < 8; ++i)
        parts.SetLevel(0, 0, 0.25);
    EXPECT_NEAR(parts.Peak(), -0.45, 1e-9); // 0.25 x (0.05 + 0.10 + ... + 0.40)
    EXPECT_TRUE(meter.ClipLit(2499));
    EXPECT_FALSE(meter.ClipLit(2500));
    meter.SetLevel(-32767, 3000); // full scale either way
    EXPECT_TRUE(meter.ClipLit(4999));
    meter.SetLevel(32766, 4000); // one below full scale does not renew the hold
    EXPECT_FALSE(meter.ClipLit(5000));

    // A block's peaks, channel by channel; a format without frames gives none.
    const int16_t block[] = {100, -200, -3000, 50, 7, 7};
    CAudioLevelMeterController::Peaks peaks;
    ASSERT_TRUE(CAudioLevelMeterController::BlockPeaks(block, sizeof block,
                                                       MakePcmFormat(2, 44100, 16), peaks));
    EXPECT_EQ(peaks.left, 3000);
    EXPECT_EQ(peaks.right, 200);
    ASSERT_TRUE(CAudioLevelMeterController::BlockPeaks(block, sizeof block,
                                                       MakePcmFormat(1, 44100, 16), peaks));
    EXPECT_EQ(peaks.right, 3000);
    EXPECT_FALSE(
        CAudioLevelMeterController::BlockPeaks(block, sizeof block, WAVEFORMATEX{}, peaks));
}
