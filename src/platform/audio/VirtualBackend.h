// The virtual sound card: output paced at real time into a WAV file (QUILLET_VIRTUAL_OUT),
// capture from a WAV file or a test tone (QUILLET_VIRTUAL_IN) at real time, and a mixer in memory.
#pragma once

#include "platform/audio/AudioDevice.h"

#include <memory>

struct VirtualCardState;

// One card named kCardName (and "default"), for tests and machines without sound.
class CVirtualBackend : public IAudioBackend {
public:
    static constexpr const char* kCardName = "Quillet Virtual";

    // Reads QUILLET_VIRTUAL_OUT, QUILLET_VIRTUAL_IN and QUILLET_VIRTUAL_IN_FAIL (a byte count
    // after which every capture stream fails, as an unplugged card does). The output file is
    // started again by the first stream and whenever the format changes; later streams append to
    // it.
    CVirtualBackend();
    ~CVirtualBackend() override;

    std::vector<std::string> deviceNames(AudioDirection direction) override;
    std::unique_ptr<IPcmStream> open(const std::string& name, AudioDirection direction,
                                     const WAVEFORMATEX& format, std::string& error) override;
    std::unique_ptr<IMixer> openMixer(const std::string& name, std::string& error) override;

private:
    std::shared_ptr<VirtualCardState> m_state;
};
