// The choice of the sound back end.
#include "platform/audio/AudioDevice.h"

#include "platform/audio/AlsaBackend.h"
#include "platform/audio/VirtualBackend.h"

#include <cstdlib>
#include <cstring>

std::unique_ptr<IAudioBackend> CreateAudioBackend() {
    const char* choice = std::getenv("QUILLET_AUDIO");
    if (choice && std::strcmp(choice, "virtual") == 0)
        return std::make_unique<CVirtualBackend>();
    return std::make_unique<CAlsaBackend>();
}
