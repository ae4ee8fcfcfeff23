// One opened capture mixer of a sound card.
#include "audio/AudioMixerDevice.h"

#include "app/OxaException.h"
#include "app/Trace.h"
#include "audio/AudioCore.h"

CAudioMixerDevice::CAudioMixerDevice(const QString& name, int flag) {
    CAudioCore& core = CAudioCore::instance();
    int index = 0;
    switch (flag) {
    case ByMixerName:
        if (!mixerNames().contains(name))
            throw COxaException(Sprintf("Mixer device not found \"%s\"", name));
        break;
    case ByWaveInName:
        if (!core.deviceIndex(AudioDirection::Capture, name, index))
            throw COxaException(Sprintf("WaveIn device not found \"%s\"", name));
        break;
    case ByWaveOutName:
        if (!core.deviceIndex(AudioDirection::Render, name, index))
            throw COxaException(Sprintf("WaveOut device not found \"%s\"", name));
        break;
    default:
        throw COxaException(QStringLiteral("Invalid flag value in CAudioMixerDevice()"));
    }
    QString why;
    m_mixer = core.openMixer(name, why);
    if (!m_mixer) {
        Trace(TRACE_ERROR, "mixer \"%s\": %s", name, why);
        throw COxaException(Sprintf("Error opening mixer device \"%s\" (%u)", name, 1u), 1);
    }
}

CAudioMixerDevice::~CAudioMixerDevice() = default;

void CAudioMixerDevice::close() {
    m_mixer.reset();
}

QStringList CAudioMixerDevice::mixerNames() {
    CAudioCore& core = CAudioCore::instance();
    QStringList names;
    for (const QString& name : core.deviceNames(AudioDirection::Capture)) {
        QString why;
        if (core.openMixer(name, why))
            names << name;
    }
    return names;
}

QStringList CAudioMixerDevice::waveInLines() {
    QStringList lines;
    if (m_mixer) {
        for (const std::string& line : m_mixer->captureLines())
            lines << QString::fromStdString(line);
    }
    return lines;
}

bool CAudioMixerDevice::getVolume(const QString& line, uint32_t& value) {
    return m_mixer && m_mixer->getVolume(line.toStdString(), value);
}

bool CAudioMixerDevice::setVolume(const QString& line, uint32_t value) {
    return m_mixer && m_mixer->setVolume(line.toStdString(), value);
}

bool CAudioMixerDevice::SelectVolumeControl(const QString& source) {
    Trace(TRACE_DEBUG, "CAudioMixerDevice::SelectVolumeControl(%s) - begin", source);
    std::vector<std::string> items;
    int selected = -1;
    if (!m_mixer || !m_mixer->sourceList(items, selected)) {
        Trace(TRACE_DEBUG, "No MIXERCONTROL_CT_CLASS_LIST control found!");
        Trace(TRACE_DEBUG, "CAudioMixerDevice::SelectVolumeControl() - end");
        return false;
    }
    Trace(TRACE_DEBUG, "Searching for control name: %s", source);
    for (size_t i = 0; i < items.size(); ++i) {
        Trace(TRACE_DEBUG, "Current control name is: %s", items[i].c_str());
        if (QString::fromStdString(items[i]) == source)
            return m_mixer->selectSource(int(i));
    }
    Trace(TRACE_DEBUG, "Could not find control name!");
    return false;
}

QString CAudioMixerDevice::selectedSource() {
    std::vector<std::string> items;
    int selected = -1;
    if (!m_mixer || !m_mixer->sourceList(items, selected) || selected < 0 ||
        size_t(selected) >= items.size())
        return QString();
    return QString::fromStdString(items[size_t(selected)]);
}
