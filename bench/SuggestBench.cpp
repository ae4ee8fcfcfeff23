// quillet-suggest-bench: the suggested selection on a long synthesized input.
//   quillet-suggest-bench [MINUTES]   (60 by default) writes a 44.1 kHz stereo work WAV of that
//   many minutes of three-minute songs (verse, chorus, verse, chorus, bridge, chorus) and its
//   visualization file, then times the suggestion: wall and CPU seconds, seconds per 10 minutes
//   of audio, and the peak resident memory before and after it (goal: under 1 s per 10 minutes,
//   memory flat).
#include "CpuTime.h"
#include "app/ConfigFile.h"
#include "app/IOpProgress.h"
#include "decode/WavReader.h"
#include "decode/WavWriter.h"
#include "encode/DatFileMaker.h"
#include "workflow/SelectionSuggester.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {
constexpr int kRate = 44100;

// The chord (three frequencies) and level of a second of a three-minute song.
void ChordAt(int second, double frequencies[3], double& level) {
    static constexpr double kChords[4][3] = {
        {220, 261.6, 329.6}, {261.6, 329.6, 392}, {196, 246.9, 293.7}, {293.7, 349.2, 440}};
    const int s = second % 180;
    // verse 0-40, chorus 40-70, verse 70-110, chorus 110-140, bridge 140-155, chorus 155-180
    const bool chorus = (s >= 40 && s < 70) || (s >= 110 && s < 140) || s >= 155;
    const bool bridge = s >= 140 && s < 155;
    const int chord = bridge ? 3 : chorus ? 1 + (s / 4) % 2 : 0;
    for (int i = 0; i < 3; ++i)
        frequencies[i] = kChords[chord][i];
    level = chorus ? 0.25 : bridge ? 0.2 : 0.1;
}

bool WriteInput(const QString& path, int minutes) {
    CWavWriter writer;
    if (!writer.create(path, MakePcmFormat(2, kRate, 16)))
        return false;
    std::vector<int16_t> block(size_t(2 * kRate));
    for (int second = 0; second < minutes * 60; ++second) {
        double frequencies[3];
        double level = 0;
        ChordAt(second, frequencies, level);
        for (int i = 0; i < kRate; ++i) {
            const double t = second + double(i) / kRate;
            double value = 0;
            for (const double f : frequencies)
                value += level * std::sin(2 * std::numbers::pi * f * t);
            block[size_t(2 * i)] = block[size_t(2 * i + 1)] = int16_t(value * 32767);
        }
        if (!writer.write(block.data(), uint32_t(block.size() * 2)))
            return false;
    }
    return writer.close();
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int minutes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QTemporaryDir folder;
    const QString wav = folder.filePath(QStringLiteral("bench.in"));
    const QString base = folder.filePath(QStringLiteral("bench"));
    if (!WriteInput(wav, minutes)) {
        std::fprintf(stderr, "quillet-suggest-bench: cannot write %s\n", qPrintable(wav));
        return 2;
    }
    IOpProgress quiet;
    int peak = 0;
    UserText error;
    {
        CWavReader reader(wav);
        if (createDatFile(reader, base, quiet, peak, error) != 0) {
            std::fprintf(stderr, "quillet-suggest-bench: %s\n", qPrintable(error.english));
            return 2;
        }
    }
    const double rssBefore = PeakRssMiB();
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();
    CCutInfo cut;
    const int result =
        CSelectionSuggester(wav, base + QStringLiteral(".dat"), int64_t(minutes) * 60000)
            .suggest(20000, quiet, cut);
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    std::printf("input %d min; suggestion %s at %.3f s; wall %.3f s, cpu %.3f s; %.3f s per 10 "
                "min; peak RSS %.1f MiB before, %.1f MiB after\n",
                minutes, result == 0 ? "found" : "not found", double(cut.start()) / 1000.0, seconds,
                CpuSeconds() - cpu, seconds * 10.0 / minutes, rssBefore, PeakRssMiB());
    return result == 0 ? 0 : 1;
}
