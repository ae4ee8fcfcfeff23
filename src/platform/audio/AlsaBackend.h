// The ALSA back end: cards by their names, PCMs driven without blocking (poll with a wake-up
// descriptor, so a stop ends any wait at once), and the capture side of the simple mixer.
#pragma once

#include "platform/audio/AudioDevice.h"

// The sound system of the machine through ALSA. A build without ALSA keeps the class and has it
// refuse every device with its own message.
class CAlsaBackend : public IAudioBackend {
public:
    // Routes ALSA's own error texts into the back ends' trace receiver instead of the terminal.
    CAlsaBackend();

    std::vector<std::string> deviceNames(AudioDirection direction) override;
    std::unique_ptr<IPcmStream> open(const std::string& name, AudioDirection direction,
                                     const WAVEFORMATEX& format, std::string& error) override;
    std::unique_ptr<IMixer> openMixer(const std::string& name, std::string& error) override;
};
