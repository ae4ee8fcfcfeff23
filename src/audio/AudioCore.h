// The process-wide sound services: the devices of each direction by name, and the back end that
// opens them.
#pragma once

#include "platform/audio/AudioDevice.h"

#include <QString>
#include <QStringList>
#include <memory>

// Lookups answer false when they find nothing; nothing here throws.
class CAudioCore {
public:
    // The instance, created on first use over the back end QUILLET_AUDIO asks for.
    static CAudioCore& instance();
    // Destroys the instance (shutdown); the next use creates a new one.
    static void destroyInstance();

    ~CAudioCore();
    CAudioCore(const CAudioCore&) = delete;
    CAudioCore& operator=(const CAudioCore&) = delete;

    // The device names of a direction in the system's order, "default" first.
    QStringList deviceNames(AudioDirection direction);
    // The device the system prefers; false when there is none.
    bool defaultDeviceName(AudioDirection direction, QString& name);
    // The index of the first device with exactly this name; false when none matches.
    bool deviceIndex(AudioDirection direction, const QString& name, int& index);
    // The name of a device index; false when the index is not valid.
    bool deviceName(AudioDirection direction, int index, QString& name);

    // Opens the device (or ALSA PCM) name for format; null with error set when it cannot.
    std::unique_ptr<IPcmStream> openStream(const QString& name, AudioDirection direction,
                                           const WAVEFORMATEX& format, QString& error);
    // Opens the capture mixer of a device; null with error set when it cannot.
    std::unique_ptr<IMixer> openMixer(const QString& name, QString& error);

private:
    CAudioCore();

    std::unique_ptr<IAudioBackend> m_backend;
};
