// The capture mixer over the virtual card: lines, volumes, the recorded line and the failures.
#include "audio/AudioMixerDevice.h"
#include "app/OxaException.h"
#include "audio/SoundTestSupport.h"

#include <gtest/gtest.h>

TEST(AudioMixerDevice, ListsLinesKeepsVolumesAndSelectsTheRecordedLine) {
    soundtest::UseBackend("virtual");
    EXPECT_EQ(CAudioMixerDevice::mixerNames(), QStringList({"default", "Quillet Virtual"}));
    CAudioMixerDevice mixer("Quillet Virtual", CAudioMixerDevice::ByWaveInName);
    EXPECT_EQ(mixer.waveInLines(), QStringList({"Capture", "Mic", "Line"}));
    EXPECT_TRUE(mixer.setVolume("Mic", 70000)); // clamped to the range
    uint32_t volume = 0;
    EXPECT_TRUE(mixer.getVolume("Mic", volume));
    EXPECT_EQ(volume, CAudioMixerDevice::kVolumeMax);
    EXPECT_FALSE(mixer.getVolume("mic", volume)); // names match exactly
    EXPECT_TRUE(mixer.SelectVolumeControl("Line"));
    EXPECT_FALSE(mixer.SelectVolumeControl("Capture")); // a line, not an item of the list
    // A second opening of the card sees what the first one set.
    CAudioMixerDevice again("default", CAudioMixerDevice::ByMixerName);
    EXPECT_EQ(again.selectedSource(), "Line");
    EXPECT_TRUE(again.getVolume("Mic", volume));
    EXPECT_EQ(volume, CAudioMixerDevice::kVolumeMax);
    mixer.close();
    EXPECT_TRUE(mixer.waveInLines().isEmpty());

    const auto failure = [](const QString& name, int flag) {
        try {
            CAudioMixerDevice device(name, flag);
        } catch (const COxaException& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(failure("Nope", 0), "Mixer device not found \"Nope\"");
    EXPECT_EQ(failure("Nope", 1), "WaveIn device not found \"Nope\"");
    EXPECT_EQ(failure("Nope", 2), "WaveOut device not found \"Nope\"");
    EXPECT_EQ(failure("default", 3), "Invalid flag value in CAudioMixerDevice()");
}
