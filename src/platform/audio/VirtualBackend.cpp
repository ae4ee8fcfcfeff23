// The virtual sound card: real-time pacing, the output file, the capture source and the mixer.
#include "platform/audio/VirtualBackend.h"

#include "platform/audio/AudioTrace.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// How far the card's output buffer reaches ahead of what it plays, in milliseconds.
constexpr uint64_t kOutputAheadMs = 100;
constexpr uint32_t kInitialVolume = 49151;
const char* const kCaptureLines[] = {"Capture", "Mic", "Line"};
const char* const kSources[] = {"Mic", "Line"};

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void PutLe(uint8_t* p, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        p[i] = uint8_t(value >> (8 * i));
}

uint32_t GetLe(const uint8_t* p, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint32_t(p[i]) << (8 * i);
    return value;
}

// Paces one stream at real time: byte positions against the time since its first transfer.
class CPacer {
public:
    explicit CPacer(uint32_t bytesPerSecond) : m_rate(bytesPerSecond ? bytesPerSecond : 1) {}

    // Waits until the card has played (or captured) up to byte position; false when stopped.
    bool waitUntil(uint64_t position) {
        std::unique_lock lock(m_mutex);
        if (!m_started) {
            m_started = true;
            m_start = Clock::now();
        }
        const auto deadline = m_start + std::chrono::nanoseconds(position * 1000000000ull / m_rate);
        return !m_wake.wait_until(lock, deadline, [this] { return m_stopped; });
    }
    uint64_t bytesIn(uint64_t ms) const { return ms * m_rate / 1000; }
    void stop() {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_wake.notify_all();
    }
    bool stopped() {
        std::lock_guard lock(m_mutex);
        return m_stopped;
    }

private:
    const uint64_t m_rate;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_started = false;
    bool m_stopped = false;
    Clock::time_point m_start;
};

// The WAV file the card records everything it plays into; its header is right after each block.
class CVirtualWavFile {
public:
    explicit CVirtualWavFile(std::string path) : m_path(std::move(path)) {}
    ~CVirtualWavFile() {
        if (m_fd >= 0)
            close(m_fd);
    }

    // Appends PCM of format; the first block, and one of another format, start the file anew.
    bool append(const WAVEFORMATEX& format, const void* data, uint32_t bytes) {
        std::lock_guard lock(m_mutex);
        if (m_path.empty())
            return true;
        if (m_fd < 0 || std::memcmp(&format, &m_format, sizeof(format)) != 0) {
            if (m_fd >= 0)
                close(m_fd);
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            m_format = format;
            m_dataBytes = 0;
            if (m_fd < 0 || !writeHeader())
                return fail();
        }
        if (pwrite(m_fd, data, bytes, off_t(kHeaderBytes + m_dataBytes)) != ssize_t(bytes))
            return fail();
        m_dataBytes += bytes;
        return writeHeader() || fail();
    }

private:
    static constexpr uint32_t kHeaderBytes = 44;

    bool writeHeader() {
        uint8_t h[kHeaderBytes];
        std::memcpy(h, "RIFF", 4);
        PutLe(h + 4, 36 + m_dataBytes, 4);
        std::memcpy(h + 8, "WAVEfmt ", 8);
        PutLe(h + 16, 16, 4);
        PutLe(h + 20, m_format.wFormatTag, 2);
        PutLe(h + 22, m_format.nChannels, 2);
        PutLe(h + 24, m_format.nSamplesPerSec, 4);
        PutLe(h + 28, m_format.nAvgBytesPerSec, 4);
        PutLe(h + 32, m_format.nBlockAlign, 2);
        PutLe(h + 34, m_format.wBitsPerSample, 2);
        std::memcpy(h + 36, "data", 4);
        PutLe(h + 40, m_dataBytes, 4);
        return pwrite(m_fd, h, sizeof(h), 0) == ssize_t(sizeof(h));
    }
    bool fail() {
        AudioTrace(kAudioTraceError, "virtual card: cannot write \"%s\" (%d)", m_path.c_str(),
                   errno);
        return false;
    }

    const std::string m_path;
    std::mutex m_mutex;
    int m_fd = -1;
    WAVEFORMATEX m_format{};
    uint32_t m_dataBytes = 0;
};

// What the card delivers when it records: a WAV file's data, then silence; or a sine tone.
class CCaptureSource {
public:
    // spec: empty or "tone" or "tone:HZ" for a tone, else a WAV file of exactly format.
    bool open(const std::string& spec, const WAVEFORMATEX& format, std::string& error) {
        m_format = format;
        if (spec.empty() || spec.rfind("tone", 0) == 0) {
            m_toneHz = spec.size() > 5 ? std::atof(spec.c_str() + 5) : 440.0;
            if (format.wBitsPerSample != 16 || m_toneHz <= 0) {
                error = "the test tone is 16-bit PCM only";
                return false;
            }
            return true;
        }
        m_fd = ::open(spec.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0 || !findData(error)) {
            if (error.empty())
                error = "cannot open " + spec;
            return false;
        }
        return true;
    }
    ~CCaptureSource() {
        if (m_fd >= 0)
            close(m_fd);
    }

    void fill(uint8_t* data, uint32_t bytes) {
        if (m_toneHz > 0) {
            tone(data, bytes);
            return;
        }
        uint32_t got = 0;
        while (got < bytes && m_dataLeft > 0) {
            const ssize_t n = ::read(m_fd, data + got, std::min<uint64_t>(bytes - got, m_dataLeft));
            if (n <= 0)
                break;
            got += uint32_t(n);
            m_dataLeft -= uint64_t(n);
        }
        std::memset(data + got, m_format.wBitsPerSample == 8 ? 0x80 : 0, bytes - got);
    }

private:
    // Reads the chunks up to "data", checking that "fmt " matches the format asked for.
    bool findData(std::string& error) {
        uint8_t head[12];
        if (::read(m_fd, head, 12) != 12 || std::memcmp(head, "RIFF", 4) ||
            std::memcmp(head + 8, "WAVE", 4)) {
            error = "not a WAV file";
            return false;
        }
        bool formatSeen = false;
        uint8_t chunk[8];
        while (::read(m_fd, chunk, 8) == 8) {
            const uint32_t size = GetLe(chunk + 4, 4);
            if (!std::memcmp(chunk, "data", 4)) {
                m_dataLeft = size;
                if (!formatSeen)
                    error = "WAV file without format";
                return formatSeen;
            }
            if (!std::memcmp(chunk, "fmt ", 4) && size >= 16) {
                uint8_t f[16];
                if (::read(m_fd, f, 16) != 16)
                    break;
                if (GetLe(f + 2, 2) != m_format.nChannels ||
                    GetLe(f + 4, 4) != m_format.nSamplesPerSec ||
                    GetLe(f + 14, 2) != m_format.wBitsPerSample) {
                    error = "the WAV file's format differs from the one asked for";
                    return false;
                }
                formatSeen = true;
                lseek(m_fd, off_t(size - 16 + (size & 1)), SEEK_CUR);
            } else {
                lseek(m_fd, off_t(size + (size & 1)), SEEK_CUR);
            }
        }
        error = "WAV file without data";
        return false;
    }

    void tone(uint8_t* data, uint32_t bytes) {
        const uint32_t frames = bytes / m_format.nBlockAlign;
        const double step = 2 * M_PI * m_toneHz / m_format.nSamplesPerSec;
        for (uint32_t i = 0; i < frames; ++i, ++m_frame) {
            const auto s = int16_t(std::lround(8192 * std::sin(step * double(m_frame))));
            for (uint32_t c = 0; c < m_format.nChannels; ++c)
                PutLe(data + size_t(i) * m_format.nBlockAlign + c * 2, uint16_t(s), 2);
        }
    }

    WAVEFORMATEX m_format{};
    int m_fd = -1;
    uint64_t m_dataLeft = 0;
    double m_toneHz = 0;
    uint64_t m_frame = 0;
};

} // namespace

// What all streams and mixers of the one card share.
struct VirtualCardState {
    explicit VirtualCardState(std::string outPath) : output(std::move(outPath)) {}
    CVirtualWavFile output;
    std::string inputSpec;
    uint64_t inputFailAt = 0; // capture fails once a stream has read this many bytes; 0 never
    std::mutex mixerMutex;
    std::map<std::string, uint32_t> volumes;
    int selectedSource = 0;
};

namespace {

// One stream of the card, either direction, paced by the wall clock.
class CVirtualPcm : public IPcmStream {
public:
    CVirtualPcm(std::shared_ptr<VirtualCardState> card, const WAVEFORMATEX& format,
                std::unique_ptr<CCaptureSource> source)
        : m_card(std::move(card)), m_format(format), m_pacer(format.nAvgBytesPerSec),
          m_source(std::move(source)) {}

    bool write(const void* data, uint32_t bytes) override {
        // The card takes the block once what it holds is within its buffer's reach.
        const uint64_t ahead = m_pacer.bytesIn(kOutputAheadMs);
        if (!m_pacer.waitUntil(m_done > ahead ? m_done - ahead : 0))
            return false;
        if (m_done == 0)
            AudioTrace(kAudioTraceDetail, "PCM \"%s\" started", CVirtualBackend::kCardName);
        m_done += bytes;
        return m_card->output.append(m_format, data, bytes);
    }
    bool read(void* data, uint32_t bytes) override {
        if (!m_source || !m_pacer.waitUntil(m_done + bytes))
            return false;
        if (m_card->inputFailAt != 0 && m_done + bytes > m_card->inputFailAt) {
            AudioTrace(kAudioTraceError, "PCM \"%s\" capture failed (as told)",
                       CVirtualBackend::kCardName);
            return false;
        }
        m_source->fill(static_cast<uint8_t*>(data), bytes);
        m_done += bytes;
        return true;
    }
    bool drain() override { return m_pacer.waitUntil(m_done); }
    void stop() override { m_pacer.stop(); }

private:
    std::shared_ptr<VirtualCardState> m_card;
    const WAVEFORMATEX m_format;
    CPacer m_pacer;
    std::unique_ptr<CCaptureSource> m_source;
    uint64_t m_done = 0; // bytes written or read
};

class CVirtualMixer : public IMixer {
public:
    explicit CVirtualMixer(std::shared_ptr<VirtualCardState> card) : m_card(std::move(card)) {}

    std::vector<std::string> captureLines() override {
        return {std::begin(kCaptureLines), std::end(kCaptureLines)};
    }
    bool getVolume(const std::string& line, uint32_t& value) override {
        if (!isLine(line))
            return false;
        std::lock_guard lock(m_card->mixerMutex);
        const auto found = m_card->volumes.find(line);
        value = found == m_card->volumes.end() ? kInitialVolume : found->second;
        return true;
    }
    bool setVolume(const std::string& line, uint32_t value) override {
        if (!isLine(line))
            return false;
        std::lock_guard lock(m_card->mixerMutex);
        m_card->volumes[line] = std::min(value, kVolumeMax);
        return true;
    }
    bool sourceList(std::vector<std::string>& items, int& selected) override {
        items.assign(std::begin(kSources), std::end(kSources));
        std::lock_guard lock(m_card->mixerMutex);
        selected = m_card->selectedSource;
        return true;
    }
    bool selectSource(int index) override {
        if (index < 0 || index >= int(std::size(kSources)))
            return false;
        std::lock_guard lock(m_card->mixerMutex);
        m_card->selectedSource = index;
        return true;
    }

private:
    static bool isLine(const std::string& line) {
        for (const char* name : kCaptureLines) {
            if (line == name)
                return true;
        }
        return false;
    }
    std::shared_ptr<VirtualCardState> m_card;
};

bool IsCardName(const std::string& name) {
    return name == "default" || name == CVirtualBackend::kCardName;
}

} // namespace

CVirtualBackend::CVirtualBackend()
    : m_state(std::make_shared<VirtualCardState>(Environment("QUILLET_VIRTUAL_OUT"))) {
    m_state->inputSpec = Environment("QUILLET_VIRTUAL_IN");
    m_state->inputFailAt =
        std::strtoull(Environment("QUILLET_VIRTUAL_IN_FAIL").c_str(), nullptr, 10);
}

CVirtualBackend::~CVirtualBackend() = default;

std::vector<std::string> CVirtualBackend::deviceNames(AudioDirection) {
    return {"default", kCardName};
}

std::unique_ptr<IPcmStream> CVirtualBackend::open(const std::string& name, AudioDirection direction,
                                                  const WAVEFORMATEX& format, std::string& error) {
    if (!IsCardName(name)) {
        error = "no such device";
        return nullptr;
    }
    if (format.wFormatTag != WAVE_FORMAT_PCM || format.nBlockAlign == 0 ||
        format.nAvgBytesPerSec == 0) {
        error = "format not supported";
        return nullptr;
    }
    std::unique_ptr<CCaptureSource> source;
    if (direction == AudioDirection::Capture) {
        source = std::make_unique<CCaptureSource>();
        if (!source->open(m_state->inputSpec, format, error))
            return nullptr;
    }
    return std::make_unique<CVirtualPcm>(m_state, format, std::move(source));
}

std::unique_ptr<IMixer> CVirtualBackend::openMixer(const std::string& name, std::string& error) {
    if (!IsCardName(name)) {
        error = "no such device";
        return nullptr;
    }
    return std::make_unique<CVirtualMixer>(m_state);
}
