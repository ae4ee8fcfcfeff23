// Helpers of the model tests: a private configuration folder, tone files, a recording owner and
// view.
#pragma once

#include <algorithm>

#include "app/ConfigFile.h"
#include "app/IOpProgress.h"
#include "app/IUserMessages.h"
#include "decode/WavReader.h"
#include "decode/WavWriter.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/IRingtoneView.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <vector>

namespace modeltest {

inline WAVEFORMATEX Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
    return MakePcmFormat(channels, rate, bits);
}

// Writes a WAV file with the given format and raw sample bytes.
inline void WriteWav(const QString& path, const WAVEFORMATEX& format, const QByteArray& data) {
    CWavWriter writer;
    ASSERT_TRUE(writer.create(path, format)) << path.toStdString();
    ASSERT_TRUE(writer.write(data.constData(), uint32_t(data.size())));
    ASSERT_TRUE(writer.close());
}

// 16-bit PCM of a sine tone of the given amplitude (in sample units) on every channel.
inline QByteArray Sine(uint16_t channels, uint32_t rate, double seconds, double frequency,
                       double amplitude) {
    const auto frames = int64_t(std::llround(seconds * rate));
    QByteArray pcm;
    pcm.reserve(int(frames * channels * 2));
    for (int64_t i = 0; i < frames; ++i) {
        const auto value = int16_t(
            std::lround(amplitude * std::sin(2.0 * std::numbers::pi * frequency * i / rate)));
        for (uint16_t c = 0; c < channels; ++c) {
            pcm.append(char(value & 0xFF));
            pcm.append(char((value >> 8) & 0xFF));
        }
    }
    return pcm;
}

// A 16-bit WAV tone file of the given length.
inline void WriteTone(const QString& path, double seconds, uint16_t channels = 2,
                      uint32_t rate = 8000, double amplitude = 16000) {
    WriteWav(path, Pcm(channels, rate, 16), Sine(channels, rate, seconds, 440, amplitude));
}

// The 16-bit samples of a WAV file's data (all channels interleaved).
inline std::vector<int16_t> ReadSamples(const QString& path, WAVEFORMATEX* format = nullptr) {
    CWavReader reader(path);
    if (format)
        *format = *reader.getFormat();
    QByteArray data(int(reader.getDataSize()), '\0');
    const int64_t got = reader.read(data.data(), data.size());
    std::vector<int16_t> samples(size_t(std::max<int64_t>(got, 0)) / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(uint8_t(data[int(2 * i)]) | uint8_t(data[int(2 * i + 1)]) << 8);
    return samples;
}

class RecordingMessages : public IUserMessages {
public:
    void ShowMessage(Kind kind, const QString& text) override {
        if (kind == Kind::Error)
            errors << text;
    }
    QStringList errors;
};

// Counts what an operation reports; IsCanceled answers true from call number cancelAtCall on,
// or once the step with the text cancelAtText has begun.
class CountingProgress : public IOpProgress {
public:
    explicit CountingProgress(int cancelAtCall = -1, int cancelAtText = -1)
        : m_cancelAtCall(cancelAtCall), m_cancelAtText(cancelAtText) {}
    void SetTextId(int id) override { textIds.push_back(id); }
    void SetRange(uint32_t total) override { ranges.push_back(total); }
    bool IsCanceled() override {
        if (m_cancelAtText >= 0)
            return std::find(textIds.begin(), textIds.end(), m_cancelAtText) != textIds.end();
        return m_cancelAtCall >= 0 && calls++ >= m_cancelAtCall;
    }

    std::vector<int> textIds;
    std::vector<uint32_t> ranges;
    int calls = 0;

private:
    int m_cancelAtCall;
    int m_cancelAtText;
};

class TestOwner : public IRingtoneModelOwner {
public:
    void RefreshState() override { ++refreshes; }
    void RefreshInputName(const QString& name) override { names << name; }
    std::unique_ptr<IOpProgress> CreateProgress(int titleId) override {
        titles.push_back(titleId);
        return std::make_unique<CountingProgress>(cancelAtCall, cancelAtText);
    }
    IUserMessages& Messages() override { return messages; }

    RecordingMessages messages;
    QStringList names;
    std::vector<int> titles;
    int refreshes = 0;
    int cancelAtCall = -1; // handed to every progress created
    int cancelAtText = -1; // likewise
};

class TestView : public IRingtoneView {
public:
    void SetModel(CRingtoneModel* m) override { model = m; }
    void Refresh() override { ++refreshes; }
    void StopPlayback() override { ++stops; }

    CRingtoneModel* model = nullptr;
    int refreshes = 0;
    int stops = 0;
};

// Gives each test an empty configuration in a private folder, restored afterwards.
class ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_config.isValid() && m_files.isValid() && m_data.isValid());
        m_oldXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        GetConfig().SetConfigFolder(m_config.path());
        GetConfig().Clear();
        GetConfig().SetDefaults();
    }
    void TearDown() override {
        GetConfig().Clear();
        GetConfig().SetDefaults();
        GetConfig().SetConfigFolder(QString());
        qputenv("XDG_DATA_HOME", m_oldXdg);
    }

    // A path in the configuration folder and one among the test's input files.
    QString work(const QString& name) const { return m_config.filePath(name); }
    QString file(const QString& name) const { return m_files.filePath(name); }

    QTemporaryDir m_config;
    QTemporaryDir m_files;
    QTemporaryDir m_data;
    QByteArray m_oldXdg;
};

} // namespace modeltest
