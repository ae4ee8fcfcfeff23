// One opened capture mixer of a sound card: its source lines, their volumes, and the choice of
// the line that is recorded.
#pragma once

#include "platform/audio/AudioDevice.h"

#include <QString>
#include <QStringList>
#include <memory>

class CAudioMixerDevice {
public:
    // How the constructor finds the card.
    enum OpenFlag : int { ByMixerName = 0, ByWaveInName = 1, ByWaveOutName = 2 };
    // Volumes run from 0 to this.
    static constexpr uint32_t kVolumeMax = IMixer::kVolumeMax;

    // Opens the mixer of the card named by name as flag says. Throws COxaException "Mixer device
    // not found \"%s\"", "WaveIn device not found \"%s\"", "WaveOut device not found \"%s\"",
    // "Invalid flag value in CAudioMixerDevice()" or "Error opening mixer device \"%s\" (%u)".
    CAudioMixerDevice(const QString& name, int flag);
    ~CAudioMixerDevice();

    // Closes the mixer; every later query fails.
    void close();
    // The names of the capture devices whose mixer can be opened.
    static QStringList mixerNames();
    // The source lines of the capture side (the elements with a capture volume).
    QStringList waveInLines();
    // A line's volume in 0..kVolumeMax; false when there is no such line.
    bool getVolume(const QString& line, uint32_t& value);
    bool setVolume(const QString& line, uint32_t value);
    // Makes source the recorded line through the card's capture-source list; false when the
    // card has no list or the list has no item named exactly source.
    bool SelectVolumeControl(const QString& source);
    // The item of the capture-source list that is recorded; empty when the card has no list.
    QString selectedSource();

private:
    std::unique_ptr<IMixer> m_mixer;
};
