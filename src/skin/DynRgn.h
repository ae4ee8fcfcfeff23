// A window region read from a region file of the skin.
#pragma once

#include <QRegion>
#include <QString>

class QIODevice;

class CDynRgn {
public:
    // The region data block: a 32-byte header (its size, type, rectangle count, buffer size,
    // bounding rectangle) followed by the rectangles, all 32-bit little-endian.
    static constexpr int HeaderSize = 32;
    static constexpr int RectSize = 16;

    // Loads a region file with x and y scale factors; a failed load keeps the region held before.
    bool load(const QString& path, double scaleX = 1.0, double scaleY = 1.0);
    bool load(QIODevice& file, double scaleX = 1.0, double scaleY = 1.0);
    // Builds the region from the bytes of a region data block.
    bool loadData(const QByteArray& data, double scaleX = 1.0, double scaleY = 1.0);

    bool isNull() const { return m_null; }
    const QRegion& region() const { return m_region; }

private:
    QRegion m_region;
    bool m_null = true;
};
