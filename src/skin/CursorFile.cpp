// Cursor files: the icon directory of .cur and .ico files, its bitmap or PNG images, and the
// frame list of animated cursors.
#include "skin/CursorFile.h"

#include "skin/DibDecoder.h"

#include <QFile>
#include <QPixmap>
#include <QtEndian>

#include <climits>
#include <cstdlib>

namespace {
constexpr int DirectorySize = 6;
constexpr int EntrySize = 16;
constexpr quint16 TypeIcon = 1;
constexpr quint16 TypeCursor = 2;
const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

quint16 U16(const QByteArray& d, qint64 at) {
    return qFromLittleEndian<quint16>(d.constData() + at);
}
quint32 U32(const QByteArray& d, qint64 at) {
    return qFromLittleEndian<quint32>(d.constData() + at);
}
} // namespace

bool CCursorFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return loadData(file.readAll());
}

bool CCursorFile::loadData(const QByteArray& data) {
    if (data.startsWith("RIFF"))
        return loadAnimated(data);
    return loadIconDirectory(data);
}

bool CCursorFile::loadIconDirectory(const QByteArray& data) {
    if (data.size() < DirectorySize || U16(data, 0) != 0)
        return false;
    const quint16 type = U16(data, 2);
    const int count = U16(data, 4);
    if ((type != TypeIcon && type != TypeCursor) || count == 0 ||
        DirectorySize + qint64(count) * EntrySize > data.size())
        return false;
    // The entry whose width is nearest to a standard cursor's 32 pixels (0 stands for 256).
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < count; ++i) {
        const int width = uchar(data[DirectorySize + i * EntrySize]);
        const int distance = std::abs((width == 0 ? 256 : width) - 32);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    const qint64 entry = DirectorySize + qint64(best) * EntrySize;
    const quint32 bytes = U32(data, entry + 8);
    const quint32 offset = U32(data, entry + 12);
    if (offset > quint64(data.size()) || bytes > quint64(data.size()) - offset)
        return false;
    const QByteArray picture = data.mid(offset, bytes);
    QImage image;
    if (picture.startsWith(PngSignature))
        image = QImage::fromData(picture, "PNG").convertToFormat(QImage::Format_ARGB32);
    else
        image = CDibDecoder::Decode(picture, CDibDecoder::Kind::IconImage);
    if (image.isNull())
        return false;
    m_image = image;
    m_hotSpot = type == TypeCursor ? QPoint(U16(data, entry + 4), U16(data, entry + 6))
                                   : QPoint(image.width() / 2, image.height() / 2);
    return true;
}

bool CCursorFile::loadAnimated(const QByteArray& data) {
    // RIFF "ACON": the frames are "icon" chunks inside a "LIST" of type "fram".
    if (data.size() < 12 || data.mid(8, 4) != "ACON")
        return false;
    const qint64 end = qMin<qint64>(data.size(), 8 + qint64(U32(data, 4)));
    qint64 pos = 12;
    while (pos + 8 <= end) {
        const QByteArray id = data.mid(pos, 4);
        const qint64 size = U32(data, pos + 4);
        const qint64 body = pos + 8;
        if (size > end - body)
            return false;
        if (id == "LIST" && size >= 4 && data.mid(body, 4) == "fram") {
            qint64 sub = body + 4;
            while (sub + 8 <= body + size) {
                const qint64 subSize = U32(data, sub + 4);
                if (subSize > body + size - (sub + 8))
                    return false;
                if (data.mid(sub, 4) == "icon")
                    return loadIconDirectory(data.mid(sub + 8, subSize));
                sub += 8 + subSize + (subSize & 1);
            }
        }
        pos = body + size + (size & 1);
    }
    return false;
}

QCursor CCursorFile::cursor() const {
    return QCursor(QPixmap::fromImage(m_image), m_hotSpot.x(), m_hotSpot.y());
}
