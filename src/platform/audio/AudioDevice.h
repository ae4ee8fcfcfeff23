// The small sound-device interface: PCM streams, the capture mixer of a card, and the back end
// that lists and opens them (ALSA or the virtual device).
#pragma once

#include "util/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Render plays to the device (wave-out), capture records from it (wave-in).
enum class AudioDirection { Render = 0, Capture = 1 };

// One open PCM of one direction. write/read/drain run on one thread at a time; stop may come
// from any thread.
class IPcmStream {
public:
    virtual ~IPcmStream() = default;
    // Plays bytes (whole frames), blocking until the device has taken all of them. False when
    // stopped or when the device failed.
    virtual bool write(const void* data, uint32_t bytes) = 0;
    // Fills data with bytes (whole frames) of captured sound, blocking until they are there.
    // False when stopped or when the device failed.
    virtual bool read(void* data, uint32_t bytes) = 0;
    // Blocks until everything written has been played. False when stopped first.
    virtual bool drain() = 0;
    // Ends a blocked write, read or drain within a few milliseconds; every later call returns
    // false at once. Callable from any thread, any number of times.
    virtual void stop() = 0;
};

// The capture side of one card: its source lines (the elements with a capture volume), their
// volumes in 0..65535, and the capture-source list that picks what is recorded.
class IMixer {
public:
    static constexpr uint32_t kVolumeMax = 65535;

    virtual ~IMixer() = default;
    // The source lines in the card's order.
    virtual std::vector<std::string> captureLines() = 0;
    // The line's volume (the mean of its channels); false when there is no such line.
    virtual bool getVolume(const std::string& line, uint32_t& value) = 0;
    // Sets every channel of the line to value (at most kVolumeMax); false when there is no such
    // line.
    virtual bool setVolume(const std::string& line, uint32_t value) = 0;
    // The items of the capture-source list and the selected one; false when the card has none.
    virtual bool sourceList(std::vector<std::string>& items, int& selected) = 0;
    // Selects item index of the capture-source list on every channel; false when it cannot.
    virtual bool selectSource(int index) = 0;
};

// A sound system: the devices by the names people see, opened by name.
class IAudioBackend {
public:
    virtual ~IAudioBackend() = default;
    // The devices of a direction, "default" first, then the cards in the system's order.
    virtual std::vector<std::string> deviceNames(AudioDirection direction) = 0;
    // Opens a device of the list (or, for ALSA, any PCM name) for format; null with error set
    // when it cannot.
    virtual std::unique_ptr<IPcmStream> open(const std::string& name, AudioDirection direction,
                                             const WAVEFORMATEX& format, std::string& error) = 0;
    // Opens the capture mixer of a device of the list; null with error set when it cannot.
    virtual std::unique_ptr<IMixer> openMixer(const std::string& name, std::string& error) = 0;
};

// The back end asked for: the virtual device when QUILLET_AUDIO is "virtual", else ALSA.
std::unique_ptr<IAudioBackend> CreateAudioBackend();
