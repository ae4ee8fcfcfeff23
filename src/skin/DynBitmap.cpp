// BMP files checked and decoded into a bitmap, and drawn plain, stretched or with transparency.
#include "skin/DynBitmap.h"

#include "app/Trace.h"
#include "skin/DibDecoder.h"

#include <QFile>
#include <QPainter>
#include <QtEndian>

#include <cstring>

namespace {
constexpr qint64 FileHeaderSize = 14;
constexpr quint16 BmSignature = 19778; // "BM"
} // namespace

bool CDynBitmap::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Trace(TRACE_ERROR, "CDynBitmap::CreateFromFile : cannot open \"%s\" : %s", path,
              file.errorString());
        return false;
    }
    return load(file);
}

bool CDynBitmap::load(QIODevice& file) {
    const QByteArray header = file.read(FileHeaderSize);
    if (header.size() != FileHeaderSize ||
        qFromLittleEndian<quint16>(header.constData()) != BmSignature) {
        Trace(TRACE_ERROR, "CDynBitmap::CreateFromFile : not a BMP file");
        return false;
    }
    const qint64 rest = file.size() - file.pos();
    const QByteArray dib = rest > 0 ? file.read(rest) : QByteArray();
    if (rest <= 0 || dib.size() != rest) {
        Trace(TRACE_ERROR, "CDynBitmap::CreateFromFile : short read");
        return false;
    }
    int error = 0;
    QImage image = CDibDecoder::Decode(dib, CDibDecoder::Kind::Bitmap, &error);
    if (image.isNull()) {
        Trace(TRACE_ERROR, "CDynBitmap::CreateFromFile : CreateDIBitmap failed : %d", error);
        return false;
    }
    m_image = std::move(image);
    m_masked = QImage();
    return true;
}

void CDynBitmap::draw(QPainter& painter, QPoint at) const {
    if (!isNull())
        painter.drawImage(at, m_image);
}

void CDynBitmap::drawStretched(QPainter& painter, const QRect& target) const {
    if (!isNull())
        painter.drawImage(target, m_image);
}

void CDynBitmap::drawTransparent(QPainter& painter, QPoint at, ColorRef transparent) const {
    if (isNull())
        return;
    if (m_masked.isNull() || m_maskedColor != transparent) {
        const QRgb key = ToQColor(transparent).rgb();
        m_masked = m_image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < m_masked.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(m_masked.scanLine(y));
            for (int x = 0; x < m_masked.width(); ++x) {
                if ((row[x] | 0xFF000000u) == key)
                    row[x] = 0;
            }
        }
        m_maskedColor = transparent;
    }
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(at, m_masked);
    painter.setCompositionMode(mode);
}

void CDynBitmap::copyFrom(const QImage& source, const QRect& rect) {
    QImage image(rect.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), source, rect);
    }
    m_image = std::move(image);
    m_masked = QImage();
}
