// Image lists cut from a bitmap, masked with a transparent colour.
#include "skin/ImageList.h"

#include "skin/DynBitmap.h"

#include <QPainter>

bool CImageList::create(const CDynBitmap& bitmap, int imageWidth, ColorRef transparent) {
    if (bitmap.isNull() || imageWidth <= 0 || bitmap.width() / imageWidth < 1)
        return false;
    const int count = bitmap.width() / imageWidth;
    const QRgb key = ToQColor(transparent).rgb();
    const QImage all = bitmap.image().convertToFormat(QImage::Format_ARGB32);
    QList<QImage> images;
    images.reserve(count);
    for (int i = 0; i < count; ++i) {
        QImage one = all.copy(i * imageWidth, 0, imageWidth, all.height());
        for (int y = 0; y < one.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(one.scanLine(y));
            for (int x = 0; x < one.width(); ++x) {
                if (row[x] == key)
                    row[x] = 0;
            }
        }
        images.append(std::move(one));
    }
    m_images = std::move(images);
    m_size = QSize(imageWidth, bitmap.height());
    return true;
}

void CImageList::deleteImageList() {
    m_images.clear();
    m_size = QSize();
}

void CImageList::draw(QPainter& painter, int index, QPoint at) const {
    if (index >= 0 && index < count())
        painter.drawImage(at, m_images.at(index));
}
