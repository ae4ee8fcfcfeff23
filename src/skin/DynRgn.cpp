// Region files turned into regions.
#include "skin/DynRgn.h"

#include "app/Trace.h"

#include <QFile>
#include <QtEndian>

#include <cmath>

namespace {
constexpr quint32 RegionTypeRectangles = 1;

int Scaled(qint32 v, double scale) {
    const double s = std::floor(double(v) * scale + 0.5);
    return int(qBound(-1073741824.0, s, 1073741823.0));
}
} // namespace

bool CDynRgn::load(const QString& path, double scaleX, double scaleY) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Trace(TRACE_ERROR, "CDynRgn::Load : cannot open \"%s\" : %s", path, file.errorString());
        return false;
    }
    return load(file, scaleX, scaleY);
}

bool CDynRgn::load(QIODevice& file, double scaleX, double scaleY) {
    return loadData(file.readAll(), scaleX, scaleY);
}

bool CDynRgn::loadData(const QByteArray& data, double scaleX, double scaleY) {
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    if (data.size() < HeaderSize) {
        Trace(TRACE_ERROR, "CDynRgn::Load : region file too short (%lld bytes)",
              qint64(data.size()));
        return false;
    }
    const quint32 headerSize = qFromLittleEndian<quint32>(p);
    const quint32 type = qFromLittleEndian<quint32>(p + 4);
    const quint32 count = qFromLittleEndian<quint32>(p + 8);
    if (headerSize != quint32(HeaderSize) || type != RegionTypeRectangles ||
        qint64(count) > (data.size() - HeaderSize) / RectSize) {
        Trace(TRACE_ERROR, "CDynRgn::Load : bad region data (header %u, type %u, %u rectangles)",
              headerSize, type, count);
        return false;
    }
    QRegion region;
    for (quint32 i = 0; i < count; ++i) {
        const uchar* r = p + HeaderSize + qint64(i) * RectSize;
        const int left = Scaled(qFromLittleEndian<qint32>(r), scaleX);
        const int top = Scaled(qFromLittleEndian<qint32>(r + 4), scaleY);
        const int right = Scaled(qFromLittleEndian<qint32>(r + 8), scaleX);
        const int bottom = Scaled(qFromLittleEndian<qint32>(r + 12), scaleY);
        if (right > left && bottom > top)
            region += QRect(left, top, right - left, bottom - top);
    }
    m_region = region;
    m_null = false;
    return true;
}
