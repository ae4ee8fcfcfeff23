// CD images made by the tests: raw 2352-byte frames of known tones and data, with a cue sheet or
// a cdrdao .toc, and the bytes each frame holds for comparing what a rip delivers.
#pragma once

#include "support/TestSupport.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <vector>

namespace cdtest {

constexpr int kFrameBytes = 2352;
constexpr int kSamplesPerFrame = 588;

// One track of an image: audio or a MODE1 data track, its length, and the frames of pregap in
// the file before it (a session gap for a data track).
struct Track {
    bool data = false;
    int frames = 0;
    int gapBefore = 0;
};

// Two tones per track (left and right) with a little noise from a fixed generator, so that no
// stretch of a track repeats another and a shifted read cannot match.
inline QByteArray AudioFrames(int trackIndex, int frames) {
    QByteArray bytes(frames * kFrameBytes, '\0');
    uint32_t seed = 12345u + 977u * uint32_t(trackIndex);
    const double f = 300.0 + 110.0 * trackIndex;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < frames * kSamplesPerFrame; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int noise = int((seed >> 16) % 9) - 4;
        const double t = i / 44100.0;
        const auto left = int16_t(std::lround(9000.0 * std::sin(2 * pi * f * t)) + noise);
        const auto right = int16_t(std::lround(7000.0 * std::sin(3 * pi * f * t)) - noise);
        qToLittleEndian(left, bytes.data() + 4 * i);
        qToLittleEndian(right, bytes.data() + 4 * i + 2);
    }
    return bytes;
}

inline uint8_t Bcd(int value) {
    return uint8_t((value / 10) << 4 | value % 10);
}

// MODE1 sectors at a frame number: sync, header with the BCD address, a data pattern.
inline QByteArray DataFrames(int firstFrame, int frames) {
    QByteArray bytes(frames * kFrameBytes, '\0');
    for (int i = 0; i < frames; ++i) {
        char* sector = bytes.data() + i * kFrameBytes;
        for (int k = 1; k <= 10; ++k)
            sector[k] = char(0xFF);
        const int address = firstFrame + i + 150;
        sector[12] = char(Bcd(address / 4500));
        sector[13] = char(Bcd(address / 75 % 60));
        sector[14] = char(Bcd(address % 75));
        sector[15] = 1;
        for (int k = 0; k < 2048; ++k)
            sector[16 + k] = char((k * 7 + i) & 0xFF);
    }
    return bytes;
}

inline QString Msf(int frames) {
    return QString::asprintf("%02d:%02d:%02d", frames / 4500, frames / 75 % 60, frames % 75);
}

// The frames of one image in one .bin file, and where each track starts.
class Image {
public:
    explicit Image(std::vector<Track> tracks) : m_tracks(std::move(tracks)) {
        int frame = 0;
        int audioIndex = 0;
        for (const Track& track : m_tracks) {
            m_bin += QByteArray(track.gapBefore * kFrameBytes, '\0');
            frame += track.gapBefore;
            m_starts.push_back(frame);
            m_bin += track.data ? DataFrames(frame, track.frames)
                                : AudioFrames(audioIndex++, track.frames);
            frame += track.frames;
        }
    }

    // Writes <folder>/<name>.bin and <folder>/<name>.cue; the cue's path.
    QString writeCue(const QString& folder, const QString& name,
                     const QString& binName = QString()) const {
        const QString bin = binName.isEmpty() ? name + QStringLiteral(".bin") : binName;
        testsupport::WriteBytes(QDir(folder).filePath(bin), m_bin);
        QString cue = QStringLiteral("FILE \"%1\" BINARY\n").arg(bin);
        for (size_t i = 0; i < m_tracks.size(); ++i) {
            cue += QString::asprintf("  TRACK %02d %s\n", int(i + 1),
                                     m_tracks[i].data ? "MODE1/2352" : "AUDIO");
            if (m_tracks[i].gapBefore)
                cue += QStringLiteral("    INDEX 00 %1\n")
                           .arg(Msf(m_starts[i] - m_tracks[i].gapBefore));
            cue += QStringLiteral("    INDEX 01 %1\n").arg(Msf(m_starts[i]));
        }
        const QString path = QDir(folder).filePath(name + QStringLiteral(".cue"));
        testsupport::WriteBytes(path, cue.toUtf8());
        return path;
    }

    // Writes <folder>/<name>.bin and a cdrdao <folder>/<name>.toc naming it without a folder,
    // in the forms libcdio reads: audio as FILE with start and length, data as DATAFILE with
    // its byte offset and its address (a gap before it is left out of every track).
    QString writeToc(const QString& folder, const QString& name) const {
        const QString bin = name + QStringLiteral(".bin");
        testsupport::WriteBytes(QDir(folder).filePath(bin), m_bin);
        QString toc = QStringLiteral("CD_ROM\n");
        for (size_t i = 0; i < m_tracks.size(); ++i) {
            const Track& track = m_tracks[i];
            toc += QStringLiteral("\n// Track %1\n").arg(i + 1);
            if (track.data) {
                toc += QStringLiteral("TRACK MODE1_RAW\nDATAFILE \"%1\" #%2 %3\n")
                           .arg(bin)
                           .arg(qint64(m_starts[i]) * kFrameBytes)
                           .arg(Msf(m_starts[i] + 150));
            } else {
                toc += QStringLiteral("TRACK AUDIO\nNO COPY\nFILE \"%1\" %2 %3\n")
                           .arg(bin, Msf(m_starts[i]), Msf(track.frames));
            }
        }
        const QString path = QDir(folder).filePath(name + QStringLiteral(".toc"));
        testsupport::WriteBytes(path, toc.toUtf8());
        return path;
    }

    // Writes a Nero 5.5 image <folder>/<name>.nrg of audio tracks: the frames, then a directory
    // with one ETN2 entry per track (libcdio adds 150 frames per track to the start it reads
    // there, which the entries take off again) and the trailer pointing at the directory.
    QString writeNrg(const QString& folder, const QString& name) const {
        QByteArray directory;
        const auto put = [&](auto value) { // big-endian, in the width of its type
            char bytes[sizeof value];
            qToBigEndian(value, bytes);
            directory.append(bytes, sizeof value);
        };
        const auto put32 = [&](quint32 value) { put(value); };
        const auto put64 = [&](quint64 value) { put(value); };
        directory += "ETN2";
        put32(quint32(32 * m_tracks.size()));
        for (size_t i = 0; i < m_tracks.size(); ++i) {
            put64(quint64(m_starts[i]) * kFrameBytes);
            put64(quint64(m_tracks[i].frames) * kFrameBytes);
            put32(7); // audio
            put32(quint32(m_starts[i] - 150 * int(i)));
            put64(0);
        }
        directory += "END!";
        put32(0);
        const quint64 offset = quint64(m_bin.size());
        directory += "NER5";
        put64(offset);
        const QString path = QDir(folder).filePath(name + QStringLiteral(".nrg"));
        testsupport::WriteBytes(path, m_bin + directory);
        return path;
    }

    const QByteArray& bin() const { return m_bin; }
    // The bytes of frames [first, first + count) of the image.
    QByteArray frames(int first, int count) const {
        return m_bin.mid(qsizetype(first) * kFrameBytes, qsizetype(count) * kFrameBytes);
    }

private:
    std::vector<Track> m_tracks;
    std::vector<int> m_starts;
    QByteArray m_bin;
};

// Sets QUILLET_CD_IMAGES for the test's lifetime and puts back what was there.
class ImagesVariable {
public:
    explicit ImagesVariable(const QStringList& paths)
        : m_old(qgetenv("QUILLET_CD_IMAGES")),
          m_had(qEnvironmentVariableIsSet("QUILLET_CD_IMAGES")) {
        qputenv("QUILLET_CD_IMAGES", paths.join(QLatin1Char(':')).toLocal8Bit());
    }
    ~ImagesVariable() {
        if (m_had)
            qputenv("QUILLET_CD_IMAGES", m_old);
        else
            qunsetenv("QUILLET_CD_IMAGES");
    }
    ImagesVariable(const ImagesVariable&) = delete;
    ImagesVariable& operator=(const ImagesVariable&) = delete;

private:
    QByteArray m_old;
    bool m_had;
};

} // namespace cdtest
