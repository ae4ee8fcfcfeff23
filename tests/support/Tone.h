// The one way of the tests to make tones and sound files and to measure what a decoder or the
// model wrote: sine PCM, WAV and OGG files of it, and the tone levels of a WAV file.
#pragma once

#include "util/WinTypes.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace testsupport {

// The path of a committed fixture in tests/data.
QString Fixture(const QString& name);
// Bytes that a fixed seed makes, the same on every run.
QByteArray RandomBytes(int count, uint32_t seed);

// 16-bit little-endian PCM of a sine tone; channel c gets the amplitude amplitudes[c] (of full
// scale).
QByteArray SinePcm(int rate, int frames, double frequency, const std::vector<double>& amplitudes);
// Writes a WAV file of the format and raw sample bytes through the program's writer.
void WriteWav(const QString& path, const WAVEFORMATEX& format, const QByteArray& data);
// A 16-bit WAV file of a 440 Hz tone of the length, the same amplitude (of full scale) on every
// channel.
void WriteToneWav(const QString& path, double seconds, uint16_t channels = 2, uint32_t rate = 8000,
                  double amplitude = 0.5);
// Writes a stereo 16-bit WAV at 22050 Hz of a song for the suggested selection: silence, a quiet
// intro, a verse, the chorus (four chords of 3.5 s), the verse, the chorus, a bridge louder than
// the chorus but heard once, the chorus, silence; the times (s) at which the chorus starts.
std::vector<double> WriteChorusSong(const QString& path);
// Writes 16-bit PCM through the program's OGG Vorbis encoder (file name as the encoder makes it).
void WriteOgg(const QString& path, const QByteArray& pcm, int channels, int rate, int quality = 4);

// A WAV file as the program's writer lays it out: a 44-byte header, then the samples.
struct DecodedWav {
    bool valid = false;               // header complete and its sizes agree with the file length
    alignas(4) WAVEFORMATEX format{}; // aligned, so its fields can be bound to references
    QByteArray data;

    uint32_t frames() const;
    double seconds() const;
    int16_t sample(uint32_t frame, uint32_t channel) const;
};
DecodedWav ReadDecodedWav(const QString& path);
// The 16 bytes of a format record as hex, to compare two records in one go.
QByteArray FormatHex(const WAVEFORMATEX& format);

// Amplitude of the frequency in one channel as a fraction of full scale (one DFT bin over count
// frames from first; count should hold whole periods); -1 outside the data.
double ToneLevel(const DecodedWav& wav, uint32_t channel, double frequency, uint32_t first,
                 uint32_t count);
// Frequency of one channel from its upward zero crossings over count frames from first; -1 when
// the window does not lie inside the data.
double ZeroCrossingFrequency(const DecodedWav& wav, uint32_t channel, uint32_t first,
                             uint32_t count);

// One channel's expected tone: its frequency and its level (of full scale).
struct ToneOf {
    double frequency;
    double level;
};
// Checks each channel's tone over count frames from first: the frequency within 5 Hz, the level
// within levelTolerance, and less than 1% of the other channels' frequencies.
void ExpectTones(const DecodedWav& wav, const std::vector<ToneOf>& tones, uint32_t first,
                 uint32_t count, double levelTolerance);

} // namespace testsupport
