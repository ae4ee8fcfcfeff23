// The ALSA back end: PCMs, cards and the capture side of the simple mixer.
#include "platform/audio/AlsaBackend.h"

#include "platform/audio/AudioTrace.h"

#ifdef QUILLET_WITH_ALSA
#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// ALSA's own latency for the device's buffer; the program queues its own buffers ahead of it.
constexpr unsigned kLatencyMicroseconds = 200000;
// How often a drain looks at the device's state.
constexpr int kDrainPollMs = 10;

// The sample format of a PCM WAVEFORMATEX, or UNKNOWN.
snd_pcm_format_t SampleFormat(const WAVEFORMATEX& format) {
    if (format.wFormatTag != WAVE_FORMAT_PCM)
        return SND_PCM_FORMAT_UNKNOWN;
    switch (format.wBitsPerSample) {
    case 8:
        return SND_PCM_FORMAT_U8;
    case 16:
        return SND_PCM_FORMAT_S16_LE;
    case 24:
        return SND_PCM_FORMAT_S24_3LE;
    case 32:
        return SND_PCM_FORMAT_S32_LE;
    default:
        return SND_PCM_FORMAT_UNKNOWN;
    }
}

snd_pcm_stream_t Stream(AudioDirection direction) {
    return direction == AudioDirection::Render ? SND_PCM_STREAM_PLAYBACK : SND_PCM_STREAM_CAPTURE;
}

// Whether the card has a PCM of the direction.
bool CardHasStream(int card, AudioDirection direction) {
    snd_ctl_t* ctl = nullptr;
    if (snd_ctl_open(&ctl, ("hw:" + std::to_string(card)).c_str(), 0) < 0)
        return false;
    snd_pcm_info_t* info = nullptr;
    snd_pcm_info_alloca(&info);
    bool found = false;
    int device = -1;
    while (!found && snd_ctl_pcm_next_device(ctl, &device) == 0 && device >= 0) {
        snd_pcm_info_set_device(info, unsigned(device));
        snd_pcm_info_set_subdevice(info, 0);
        snd_pcm_info_set_stream(info, Stream(direction));
        found = snd_ctl_pcm_info(ctl, info) == 0;
    }
    snd_ctl_close(ctl);
    return found;
}

// The cards' names with their numbers, in the system's order.
std::vector<std::pair<int, std::string>> Cards() {
    std::vector<std::pair<int, std::string>> cards;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) {
        char* name = nullptr;
        if (snd_card_get_name(card, &name) == 0 && name) {
            cards.emplace_back(card, name);
            free(name);
        }
    }
    return cards;
}

// The ALSA name to open for a device name: "default" as is, a card's name as that card (prefix
// "plughw:" for a PCM, "hw:" for a mixer), anything else as a PCM or control name of its own.
std::string AlsaName(const std::string& name, const char* cardPrefix) {
    if (name == "default")
        return name;
    for (const auto& [card, cardName] : Cards()) {
        if (cardName == name)
            return cardPrefix + std::to_string(card);
    }
    return name;
}

// One ALSA PCM opened without blocking. Waits happen in poll() on the PCM's descriptors and an
// eventfd that stop() signals, so a stop never waits for the device.
class CAlsaPcm : public IPcmStream {
public:
    CAlsaPcm(snd_pcm_t* pcm, std::string name, AudioDirection direction, uint32_t frameBytes)
        : m_pcm(pcm), m_name(std::move(name)), m_direction(direction), m_frameBytes(frameBytes),
          m_wakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
        snd_pcm_uframes_t bufferSize = 0;
        if (snd_pcm_get_params(m_pcm, &bufferSize, &m_periodFrames) < 0 || m_periodFrames == 0)
            m_periodFrames = 1024;
        const int count = snd_pcm_poll_descriptors_count(m_pcm);
        m_fds.resize(size_t(count > 0 ? count : 0) + 1);
        snd_pcm_poll_descriptors(m_pcm, m_fds.data(), unsigned(count));
        m_fds.back() = pollfd{m_wakeFd, POLLIN, 0};
    }
    ~CAlsaPcm() override {
        snd_pcm_drop(m_pcm);
        snd_pcm_close(m_pcm);
        if (m_wakeFd >= 0)
            close(m_wakeFd);
    }

    bool write(const void* data, uint32_t bytes) override {
        return transfer(const_cast<void*>(data), bytes);
    }
    bool read(void* data, uint32_t bytes) override { return transfer(data, bytes); }

    bool drain() override {
        if (m_stopped.load())
            return false;
        int err = snd_pcm_drain(m_pcm);
        while (err == -EAGAIN || snd_pcm_state(m_pcm) == SND_PCM_STATE_DRAINING) {
            if (!waitWake(kDrainPollMs))
                return false;
            err = 0;
        }
        if (err < 0)
            AudioTrace(kAudioTraceWarning, "ALSA drain of \"%s\": %s", m_name.c_str(),
                       snd_strerror(err));
        return true;
    }

    void stop() override {
        m_stopped.store(true);
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof(one));
    }

private:
    // Moves whole frames between data and the PCM until all are done, the stop or a failure.
    bool transfer(void* data, uint32_t bytes) {
        auto* p = static_cast<uint8_t*>(data);
        snd_pcm_uframes_t left = bytes / m_frameBytes;
        while (left > 0) {
            if (m_stopped.load())
                return false;
            // A period at a time: no plugin is asked for more than its buffer holds.
            const snd_pcm_uframes_t chunk = std::min(left, m_periodFrames);
            const snd_pcm_sframes_t n = m_direction == AudioDirection::Render
                                            ? snd_pcm_writei(m_pcm, p, chunk)
                                            : snd_pcm_readi(m_pcm, p, chunk);
            if (n == -EAGAIN) {
                if (!waitDevice())
                    return false;
                continue;
            }
            if (n < 0) {
                if (!recover(int(n)))
                    return false;
                continue;
            }
            if (!m_started) {
                m_started = true;
                AudioTrace(kAudioTraceDetail, "PCM \"%s\" started", m_name.c_str());
            }
            p += size_t(n) * m_frameBytes;
            left -= snd_pcm_uframes_t(n);
        }
        return true;
    }

    // Waits until the PCM can move frames; false when stopped.
    bool waitDevice() {
        const int r = poll(m_fds.data(), nfds_t(m_fds.size()), -1);
        if (m_stopped.load())
            return false;
        if (r < 0 && errno != EINTR) {
            AudioTrace(kAudioTraceError, "poll on \"%s\" failed (%d)", m_name.c_str(), errno);
            return false;
        }
        return true;
    }

    // Waits on the wake-up descriptor alone for at most ms; false when stopped.
    bool waitWake(int ms) {
        pollfd fd{m_wakeFd, POLLIN, 0};
        poll(&fd, 1, ms);
        return !m_stopped.load();
    }

    // Brings the PCM back after an underrun, overrun or suspend, and says so in the trace log.
    bool recover(int err) {
        const char* what = err == -EPIPE
                               ? (m_direction == AudioDirection::Render ? "underrun" : "overrun")
                               : snd_strerror(err);
        const int r = snd_pcm_recover(m_pcm, err, 1);
        if (r < 0) {
            AudioTrace(kAudioTraceError, "ALSA %s on \"%s\", recovery failed: %s", what,
                       m_name.c_str(), snd_strerror(r));
            return false;
        }
        AudioTrace(kAudioTraceWarning, "ALSA %s on \"%s\", recovered", what, m_name.c_str());
        return true;
    }

    snd_pcm_t* m_pcm;
    std::string m_name;
    AudioDirection m_direction;
    uint32_t m_frameBytes;
    snd_pcm_uframes_t m_periodFrames = 0;
    int m_wakeFd;
    std::vector<pollfd> m_fds;
    std::atomic<bool> m_stopped{false};
    bool m_started = false;
};

// The capture side of one card through the simple mixer.
class CAlsaMixer : public IMixer {
public:
    explicit CAlsaMixer(snd_mixer_t* mixer) : m_mixer(mixer) {}
    ~CAlsaMixer() override { snd_mixer_close(m_mixer); }

    std::vector<std::string> captureLines() override {
        std::vector<std::string> lines;
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(m_mixer); e; e = snd_mixer_elem_next(e)) {
            if (snd_mixer_selem_is_active(e) && snd_mixer_selem_has_capture_volume(e))
                lines.emplace_back(snd_mixer_selem_get_name(e));
        }
        return lines;
    }

    bool getVolume(const std::string& line, uint32_t& value) override {
        snd_mixer_elem_t* e = volumeElement(line);
        long min = 0, max = 0;
        if (!e || snd_mixer_selem_get_capture_volume_range(e, &min, &max) < 0 || max <= min)
            return false;
        long long sum = 0;
        int channels = 0;
        for (int ch = 0; ch <= SND_MIXER_SCHN_LAST; ++ch) {
            long v = 0;
            const auto channel = snd_mixer_selem_channel_id_t(ch);
            if (snd_mixer_selem_has_capture_channel(e, channel) &&
                snd_mixer_selem_get_capture_volume(e, channel, &v) == 0) {
                sum += v - min;
                ++channels;
            }
        }
        if (channels == 0)
            return false;
        value = uint32_t((sum / channels) * kVolumeMax / (max - min));
        return true;
    }

    bool setVolume(const std::string& line, uint32_t value) override {
        snd_mixer_elem_t* e = volumeElement(line);
        long min = 0, max = 0;
        if (!e || snd_mixer_selem_get_capture_volume_range(e, &min, &max) < 0)
            return false;
        const long long scaled = (long long)std::min(value, kVolumeMax) * (max - min);
        const long v = min + long((scaled + kVolumeMax / 2) / kVolumeMax);
        return snd_mixer_selem_set_capture_volume_all(e, v) == 0;
    }

    bool sourceList(std::vector<std::string>& items, int& selected) override {
        snd_mixer_elem_t* e = sourceElement();
        if (!e)
            return false;
        items.clear();
        const int count = snd_mixer_selem_get_enum_items(e);
        for (int i = 0; i < count; ++i) {
            char name[128] = {};
            snd_mixer_selem_get_enum_item_name(e, unsigned(i), sizeof(name) - 1, name);
            items.emplace_back(name);
        }
        unsigned index = 0;
        selected = snd_mixer_selem_get_enum_item(e, SND_MIXER_SCHN_FRONT_LEFT, &index) == 0
                       ? int(index)
                       : -1;
        return true;
    }

    bool selectSource(int index) override {
        snd_mixer_elem_t* e = sourceElement();
        if (!e || index < 0 || index >= snd_mixer_selem_get_enum_items(e))
            return false;
        const int result = snd_mixer_selem_set_enum_item(e, SND_MIXER_SCHN_FRONT_LEFT, index);
        for (int ch = 1; ch <= SND_MIXER_SCHN_LAST; ++ch)
            snd_mixer_selem_set_enum_item(e, snd_mixer_selem_channel_id_t(ch), unsigned(index));
        return result == 0;
    }

private:
    snd_mixer_elem_t* volumeElement(const std::string& line) {
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(m_mixer); e; e = snd_mixer_elem_next(e)) {
            if (snd_mixer_selem_is_active(e) && snd_mixer_selem_has_capture_volume(e) &&
                line == snd_mixer_selem_get_name(e))
                return e;
        }
        return nullptr;
    }
    // The enumerated capture-source element, the card's list control.
    snd_mixer_elem_t* sourceElement() {
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(m_mixer); e; e = snd_mixer_elem_next(e)) {
            if (snd_mixer_selem_is_active(e) && snd_mixer_selem_is_enum_capture(e))
                return e;
        }
        return nullptr;
    }

    snd_mixer_t* m_mixer;
};

// ALSA's error reports, which it would print on standard error, as trace lines.
void AlsaErrorHandler(const char* file, int line, const char* function, int err, const char* fmt,
                      ...) {
    char text[512];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof(text), fmt, args);
    va_end(args);
    AudioTrace(kAudioTraceDebug, "ALSA %s:%d (%s): %s%s%s", file, line, function, text,
               err ? ": " : "", err ? snd_strerror(err) : "");
}

} // namespace

CAlsaBackend::CAlsaBackend() {
    snd_lib_error_set_handler(AlsaErrorHandler);
}

std::vector<std::string> CAlsaBackend::deviceNames(AudioDirection direction) {
    std::vector<std::string> names{"default"};
    for (const auto& [card, name] : Cards()) {
        if (CardHasStream(card, direction))
            names.push_back(name);
    }
    return names;
}

std::unique_ptr<IPcmStream> CAlsaBackend::open(const std::string& name, AudioDirection direction,
                                               const WAVEFORMATEX& format, std::string& error) {
    const snd_pcm_format_t sampleFormat = SampleFormat(format);
    if (sampleFormat == SND_PCM_FORMAT_UNKNOWN || format.nChannels == 0 ||
        format.nBlockAlign == 0) {
        error = "format not supported";
        return nullptr;
    }
    const std::string pcmName = AlsaName(name, "plughw:");
    snd_pcm_t* pcm = nullptr;
    int err = snd_pcm_open(&pcm, pcmName.c_str(), Stream(direction), SND_PCM_NONBLOCK);
    if (err >= 0) {
        err = snd_pcm_set_params(pcm, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.nChannels,
                                 format.nSamplesPerSec, 1, kLatencyMicroseconds);
        if (err < 0)
            snd_pcm_close(pcm);
    }
    if (err < 0) {
        error = snd_strerror(err);
        AudioTrace(kAudioTraceError, "cannot open PCM \"%s\": %s", pcmName.c_str(), error.c_str());
        return nullptr;
    }
    AudioTrace(kAudioTraceDebug, "PCM \"%s\" open: %u Hz, %u channels, %u bit", pcmName.c_str(),
               unsigned(format.nSamplesPerSec), unsigned(format.nChannels),
               unsigned(format.wBitsPerSample));
    return std::make_unique<CAlsaPcm>(pcm, pcmName, direction, format.nBlockAlign);
}

std::unique_ptr<IMixer> CAlsaBackend::openMixer(const std::string& name, std::string& error) {
    const std::string ctlName = AlsaName(name, "hw:");
    snd_mixer_t* mixer = nullptr;
    int err = snd_mixer_open(&mixer, 0);
    if (err < 0) {
        error = snd_strerror(err);
        return nullptr;
    }
    if ((err = snd_mixer_attach(mixer, ctlName.c_str())) < 0 ||
        (err = snd_mixer_selem_register(mixer, nullptr, nullptr)) < 0 ||
        (err = snd_mixer_load(mixer)) < 0) {
        error = snd_strerror(err);
        snd_mixer_close(mixer);
        AudioTrace(kAudioTraceDebug, "cannot open mixer \"%s\": %s", ctlName.c_str(),
                   error.c_str());
        return nullptr;
    }
    return std::make_unique<CAlsaMixer>(mixer);
}

#else // no ALSA in this build

namespace {
constexpr const char* kNoAlsa = "sound through ALSA is not part of this build";
}

CAlsaBackend::CAlsaBackend() = default;

std::vector<std::string> CAlsaBackend::deviceNames(AudioDirection) {
    return {};
}

std::unique_ptr<IPcmStream> CAlsaBackend::open(const std::string&, AudioDirection,
                                               const WAVEFORMATEX&, std::string& error) {
    error = kNoAlsa;
    AudioTrace(kAudioTraceError, "%s", kNoAlsa);
    return nullptr;
}

std::unique_ptr<IMixer> CAlsaBackend::openMixer(const std::string&, std::string& error) {
    error = kNoAlsa;
    return nullptr;
}

#endif
