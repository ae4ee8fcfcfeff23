// Checks a Nero (.nrg) image's chunk directory before libcdio parses it.
#include "platform/cdaudio/NrgImageCheck.h"

#include <QFile>
#include <QtEndian>

namespace {
constexpr qint64 kTrailerBytes = 12;
constexpr qint64 kMaxDirectoryBytes = 4096;
constexpr int kMaxTracks = 99;
constexpr uint32_t kDaoHeaderBytes = 22; // size, catalog number, three bytes, first and last

uint32_t Id(const char* text) {
    return qFromBigEndian<uint32_t>(text);
}

} // namespace

bool CNrgImageCheck::check(const QString& path, QString& reason) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    const qint64 size = file.size();
    if (size < kTrailerBytes + 8) {
        reason = QStringLiteral("%1 is too short for a Nero image").arg(path);
        return false;
    }
    file.seek(size - kTrailerBytes);
    const QByteArray trailer = file.read(kTrailerBytes);
    qint64 directory = -1;
    if (trailer.size() == kTrailerBytes && trailer.mid(4, 4) == "NERO")
        directory = qFromBigEndian<uint32_t>(trailer.constData() + 8);
    else if (trailer.size() == kTrailerBytes && trailer.left(4) == "NER5")
        directory = qint64(qFromBigEndian<quint64>(trailer.constData() + 4) & 0x7FFFFFFFFFFFFFFF);
    if (directory < 0) {
        reason = QStringLiteral("%1 has no Nero trailer").arg(path);
        return false;
    }
    if (directory > size - kTrailerBytes || size - directory > kMaxDirectoryBytes) {
        reason = QStringLiteral("%1: the Nero directory lies outside the file").arg(path);
        return false;
    }
    file.seek(directory);
    const QByteArray chunks = file.read(size - directory);
    const qint64 end = chunks.size() - kTrailerBytes;

    int tracks = 0;
    qint64 pos = 0;
    bool ended = false;
    while (pos < chunks.size() && !ended) {
        if (pos + 8 > end) {
            reason = QStringLiteral("%1: a Nero chunk runs past the directory").arg(path);
            return false;
        }
        const uint32_t id = qFromBigEndian<uint32_t>(chunks.constData() + pos);
        const uint32_t length = qFromBigEndian<uint32_t>(chunks.constData() + pos + 4);
        if (qint64(length) > end - pos - 8) {
            reason = QStringLiteral("%1: a Nero chunk runs past the directory").arg(path);
            return false;
        }
        const char* data = chunks.constData() + pos + 8;
        bool fits = true;
        if (id == Id("CUEX") || id == Id("CUES")) {
            const uint32_t entries = length / 8;
            fits = length % 8 == 0 && entries >= 4;
            if (fits && id == Id("CUEX")) {
                fits = qFromBigEndian<int32_t>(data + 4) == -150;
                for (uint32_t i = 2; fits && i + 1 < entries; i += 2)
                    fits = data[8 * i + 1] != data[8 * (i + 1) + 1] &&
                           (uint8_t(data[8 * i + 2]) >> 4) <= 1;
            }
            tracks += int(entries / 2) - 1;
        } else if (id == Id("ETNF") || id == Id("ETN2")) {
            const uint32_t entryBytes = id == Id("ETNF") ? 20 : 32;
            fits = length % entryBytes == 0 && length > 0;
            tracks += int(length / entryBytes);
        } else if (id == Id("DAOX") || id == Id("DAOI")) {
            const uint32_t entryBytes = id == Id("DAOX") ? 42 : 30;
            fits = tracks > 0 && length >= kDaoHeaderBytes + uint32_t(tracks) * entryBytes;
        } else if (id == Id("SINF") || id == Id("MTYP")) {
            fits = length == 4;
        } else if (id == Id("CDTX")) {
            fits = length % 18 == 0;
        } else if (id == Id("NERO") || id == Id("NER5")) {
            fits = false;
        } else if (id == Id("END!")) {
            ended = true;
        }
        if (!fits || tracks > kMaxTracks) {
            reason = QStringLiteral("%1: damaged Nero chunk %2")
                         .arg(path, QString::fromLatin1(chunks.mid(pos, 4).toHex()));
            return false;
        }
        pos += 8 + qint64(length);
    }
    if (tracks < 1) {
        reason = QStringLiteral("%1: the Nero image lists no track").arg(path);
        return false;
    }
    return true;
}
