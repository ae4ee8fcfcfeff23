// The stream view's drawing, in the order of its layers.
#include "view/gui/StreamViewPainter.h"

#include "app/ConfigFile.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "platform/axis/gui/TimeAxis.h"
#include "util/DateTimeText.h"
#include "view/StreamProgressCtrl.h"
#include "workflow/RingtoneModel.h"

#include <QLine>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Height of the axis rectangle.
constexpr int kAxisHeight = 50;
// Milliseconds per visualization value.
constexpr double kValueStep = 10.0;

QPixmap toPixmap(const CDynBitmap& bitmap) {
    return bitmap.isNull() ? QPixmap() : QPixmap::fromImage(bitmap.image());
}

// The bitmap with the pixels of the transparent colour made transparent.
QPixmap transparentPixmap(const CDynBitmap& bitmap, ColorRef transparent) {
    if (bitmap.isNull())
        return QPixmap();
    QImage image = bitmap.image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparent).rgb() & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return QPixmap::fromImage(image);
}

// Tiles the pixmap over the rectangle, the tiles starting at its left edge.
void tile(QPainter& painter, const QRect& rect, const QPixmap& pixmap) {
    if (!pixmap.isNull() && rect.width() > 0)
        painter.drawTiledPixmap(rect, pixmap);
}

// The time axis draws calendar times: 2000-01-01 00:00 plus the view's times.
CQTime axisTime(qint64 ms) {
    return CQTime::FromElapsedSince2000(ms);
}

} // namespace

CStreamViewPainter::CStreamViewPainter() : m_skin(&m_noSkin) {}

CStreamViewPainter::~CStreamViewPainter() = default;

void CStreamViewPainter::applySkin(const StreamViewSkin& skin) {
    m_skin = &skin;
    m_center = toPixmap(skin.center);
    m_centerEmpty = toPixmap(skin.centerEmpty);
    m_emptyDesc = toPixmap(skin.emptyStreamDesc);
    m_stream = toPixmap(skin.stream);
    m_cutLeft = toPixmap(skin.cutLeft);
    m_cutRight = toPixmap(skin.cutRight);
    m_cutMiddle = toPixmap(skin.cutMiddle);
    m_margin = toPixmap(skin.margin);
    m_curpos = transparentPixmap(skin.curpos, skin.colorTransparent);
    const QPen pen(ToQColor(skin.colorAxis), 1, Qt::SolidLine);
    if (!m_axis)
        m_axis = std::make_unique<CTimeAxis>(skin.fontAxis.font(), pen, pen, 2.5f);
    else
        m_axis->SetAxisParams(skin.fontAxis.font(), pen, pen, 2.5f);
    m_axis->SetAxisParamsEx(skin.axisTimemarkSmall, skin.axisTimemarkMiddle, skin.axisTimemarkBig,
                            skin.yPosAxisText);
}

QString CStreamViewPainter::positionText(const CStreamProgressCtrl& progress) const {
    return m_positionLabel + FormatTimeMs(DurationFromMs(progress.getPosition()));
}

QRect CStreamViewPainter::positionTextRect(const QString& text,
                                           const CStreamProgressCtrl& progress) const {
    if (text != m_measuredText) { // measuring lays the text out: once per text
        m_measuredText = text;
        m_measuredWidth = m_metrics.horizontalAdvance(text);
    }
    const int width = m_measuredWidth;
    const ViewRect rect = progress.model().pixelRect();
    return QRect((rect.left + rect.right - width) / 2, m_skin->yPosCurrent, width + 1,
                 m_metrics.height());
}

QRegion CStreamViewPainter::overlayRegion(int height, const CStreamProgressCtrl& progress) const {
    return overlayRegion(height, progress.getPositionX(),
                         positionTextRect(positionText(progress), progress));
}

QRegion CStreamViewPainter::overlayRegion(int height, int positionX, const QRect& textRect) const {
    const int width = std::max(1, m_curpos.width());
    return QRegion(positionX - width / 2, 0, width, height).united(textRect);
}

QRegion CStreamViewPainter::paintOverlay(QPainter& painter, int height,
                                         const CStreamProgressCtrl& progress) const {
    const QString text = positionText(progress);
    const QRect rect = positionTextRect(text, progress);
    painter.setFont(m_skin->fontAxis.font());
    painter.setPen(ToQColor(m_skin->colorAxis));
    painter.drawText(rect.left(), rect.top() + m_metrics.ascent(), text);
    if (!m_curpos.isNull())
        painter.drawPixmap(progress.getPositionX() - m_curpos.width() / 2, 0, m_curpos);
    return overlayRegion(height, progress.getPositionX(), rect);
}

void CStreamViewPainter::paint(QPainter& painter, QSize size, CStreamProgressCtrl& progress,
                               CRingtoneModel* model) {
    const int width = size.width();
    const int height = size.height();
    const int margin = m_margin.width();
    m_positionLabel = LoadString(IDS_CURRENT_POSITION);
    m_metrics = QFontMetrics(m_skin->fontAxis.font());
    m_measuredText.clear();
    const bool empty = !model || model->getDuration() <= 0;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_margin.isNull()) {
        painter.drawPixmap(0, 0, m_margin);
        painter.drawPixmap(width - margin, 0, m_margin);
    }
    tile(painter, QRect(margin, 0, width - 2 * margin, height), empty ? m_centerEmpty : m_center);
    if (empty) {
        painter.drawPixmap((width - m_emptyDesc.width()) / 2, (height - m_emptyDesc.height()) / 2,
                           m_emptyDesc);
        return;
    }
    CStreamProgressCtrlBase& base = progress.model();
    base.setRepaintRange(progress.pixelToTime(0), progress.pixelToTime(width));
    base.setLogarithmic(GetConfig().GetLogarithmicView());
    const int layers = base.paintLayers();
    if (layers & CStreamProgressCtrlBase::LayerStream)
        paintStream(painter, height, progress);
    if (layers & CStreamProgressCtrlBase::LayerSelection)
        paintSelection(painter, height, progress);
    if (layers & CStreamProgressCtrlBase::LayerWaveform)
        paintWaveform(painter, progress, *model);
    if (layers & CStreamProgressCtrlBase::LayerAxis)
        paintAxis(painter, progress);
    paintTexts(painter, progress, model);
}

void CStreamViewPainter::paintStream(QPainter& painter, int height,
                                     const CStreamProgressCtrl& progress) const {
    const CStreamProgressCtrlBase& m = progress.model();
    const qint64 from = std::max({qint64(0), m.visibleBegin(), m.repaintBegin()});
    const qint64 to = std::min({qint64(m.savedLength()), m.visibleEnd(), m.repaintEnd()});
    if (from > to)
        return;
    const int xa = m.clampX(m.timeToPixel(from, true));
    const int xb = m.clampX(m.timeToPixel(to + 1, true));
    tile(painter, QRect(xa, 0, xb - xa, height), m_stream);
}

void CStreamViewPainter::paintRamp(QPainter& painter, int x, int y, int height) const {
    if (m_cutMiddle.isNull() || y >= height)
        return;
    const int column = x % m_cutMiddle.width();
    painter.drawPixmap(QRect(x, y, 1, height - y), m_cutMiddle,
                       QRect(column, y, 1, std::min(height, m_cutMiddle.height()) - y));
}

void CStreamViewPainter::paintSelection(QPainter& painter, int height,
                                        const CStreamProgressCtrl& progress) const {
    const CStreamProgressCtrlBase& m = progress.model();
    const CCutInfo& cut = m.selection();
    if (!cut.isValid())
        return;
    const qint64 s = cut.start();
    const qint64 e = cut.end();
    const qint64 a = std::max({s, m.visibleBegin(), m.repaintBegin()});
    const qint64 b = std::min({e, m.visibleEnd(), m.repaintEnd()});
    if (a > b)
        return;
    const int xs = m.timeToPixel(s, false);
    const int xe = m.timeToPixel(e, false);
    int xa = m.clampX(m.timeToPixel(a, true));
    const int xb = m.clampX(m.timeToPixel(b, true));
    const int xfi = std::max(xs, m.timeToPixel(s + cut.fadeIn(), false));
    const int xfo = std::min(xe, m.timeToPixel(e - cut.fadeOut(), false));
    const int top = m_skin->yMarkRectTop;
    const int bottom = m_skin->yMarkRectBottom;
    const auto nearest = [](double v) { return int(v + 0.5); };

    painter.save();
    painter.setClipRect(QRect(xa, 0, xb - xa, height), Qt::IntersectClip);
    if (xfi <= xa && xs >= xa) {
        painter.drawPixmap(QRect(xa, 0, 1, height), m_cutLeft, QRect(0, 0, 1, m_cutLeft.height()));
        xa += 1;
    } else if (xfi > xa) {
        for (int x = xa; x <= xfi; ++x)
            paintRamp(painter, x, nearest(double(x - xs) / (xfi - xs) * (top - bottom)) + bottom,
                      height);
        xa = xfi + 1;
    }
    const int middleEnd = xfo < xb ? xfo : (xe <= xb ? xb - 1 : xb);
    if (middleEnd > xa)
        tile(painter, QRect(xa, 0, middleEnd - xa, height), m_cutMiddle);
    if (xfo >= xb) {
        if (xe <= xb)
            painter.drawPixmap(QRect(xb - 1, 0, 1, height), m_cutRight,
                               QRect(0, 0, 1, m_cutRight.height()));
    } else {
        for (int x = xfo; x <= xb; ++x)
            paintRamp(painter, x, nearest(double(xe - x) / (xe - xfo) * (top - bottom)) + bottom,
                      height);
    }
    painter.restore();
}

void CStreamViewPainter::paintWaveform(QPainter& painter, CStreamProgressCtrl& progress,
                                       CRingtoneModel& model) {
    const CStreamProgressCtrlBase& m = progress.model();
    const qint64 vb = m.visibleBegin();
    const qint64 ve = m.visibleEnd();
    if (ve - vb >= m.waveformSpanLimit())
        return;
    // Values counted from the visible begin, or from the 10 ms grid of the visualization file.
    const qint64 base = m.isDataAligned() ? vb : vb - vb % 10;
    uint32_t n = 0;
    const int8_t* values = model.getDatValues(base, ve, n);
    const qint64 from = std::max({qint64(0), vb, m.repaintBegin()});
    const qint64 to = std::min({qint64(m.savedLength()), ve, m.repaintEnd()});
    if (from > to)
        return;
    qint64 i = qint64((from - base) / kValueStep);
    // Rows and lines at the device's resolution: at pixel ratio 2 a column is two device columns
    // wide and the amplitude twice as fine.
    const int ratio = std::max(1, qRound(painter.device()->devicePixelRatio()));
    const double scale = m_skin->waveAmplitude() * ratio / 128.0;
    const int centre = m_skin->waveCentre() * ratio;
    float x = float(m.timeToPixel(from, true));
    const int xEnd = m.timeToPixel(to, true);
    const int columns = std::max(1, xEnd - int(x));
    const qint64 count = std::max<qint64>(1, qint64((to - from) / kValueStep));
    const float dx = float(columns) / float(count);
    // The offset of each of the 256 values, worked out once per paint instead of per value.
    std::array<int, 256> offsets{};
    for (int v = -128; v < 128; ++v)
        offsets[size_t(v + 128)] = m.valueOffset(v, scale);
    const auto offset = [&](qint64 index) {
        return index >= 0 && index < qint64(n) ? offsets[size_t(values[index] + 128)] : 0;
    };

    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    painter.setPen(QPen(ToQColor(m_skin->colorWaveform), 1, Qt::SolidLine));
    std::vector<QLine>& lines = m_lines;
    lines.clear();
    lines.reserve(size_t(columns) * size_t(ratio) + 2);
    if (dx >= 0.5f) {
        QPoint last(int(x) * ratio, centre + offset(i));
        for (;;) {
            x += dx;
            const int column = std::min(int(x), xEnd);
            const QPoint next(column * ratio, centre + offset(i));
            lines.emplace_back(last, next);
            last = next;
            if (column >= xEnd)
                break;
            ++i;
        }
    } else {
        while (int(x) < xEnd) {
            const int column = int(x);
            int p = 0;
            int q = 0;
            for (; int(x) == column; x += dx, ++i) {
                const int o = offset(i);
                p = std::max(p, o);
                q = std::min(q, o);
            }
            if (p == q) {
                p = 1;
                q = 0;
            }
            for (int d = 0; d < ratio; ++d)
                lines.emplace_back(column * ratio + d, centre + q, column * ratio + d, centre + p);
        }
    }
    painter.drawLines(lines.data(), int(lines.size()));
    painter.restore();
}

void CStreamViewPainter::paintAxis(QPainter& painter, const CStreamProgressCtrl& progress) const {
    const CStreamProgressCtrlBase& m = progress.model();
    if (!m_axis || m.visibleEnd() <= m.visibleBegin())
        return;
    const QRect rect(QPoint(m.pixelRect().left, m_skin->yPosAxisLine),
                     QPoint(m.pixelRect().right, m_skin->yPosAxisLine + kAxisHeight));
    m_axis->SetBorders(axisTime(m.visibleBegin()), axisTime(m.visibleEnd()));
    m_axis->Paint(painter, rect, rect, false);
}

void CStreamViewPainter::paintTexts(QPainter& painter, const CStreamProgressCtrl& progress,
                                    const CRingtoneModel* model) const {
    const CStreamProgressCtrlBase& m = progress.model();
    painter.setFont(m_skin->fontAxis.font());
    painter.setPen(ToQColor(m_skin->colorAxis));
    const QFontMetrics metrics = painter.fontMetrics();
    const int baseline = m_skin->yPosCurrent + metrics.ascent();
    const int right = m.pixelRect().right;
    const CCutInfo* cut = model && model->getCut().isValid() ? &model->getCut() : nullptr;
    const qint64 seconds = cut ? cut->length() / 1000 : 0;
    const QString length = FormatString(IDS_RINGTONE_LENGTH, int(seconds / 60), int(seconds % 60));
    painter.drawText(right - metrics.horizontalAdvance(length) - 5, baseline, length);

    painter.setPen(QPen(ToQColor(m_skin->colorMarkRect), 1, Qt::SolidLine));
    if (const auto box = progress.getSelectionPixels())
        painter.drawRect(
            QRect(box->left, box->top, box->right - box->left, box->bottom - box->top));
    if (progress.showSavedPosition() && progress.isInVisible(progress.getSavedPosition())) {
        const int x = m.timeToPixel(progress.getSavedPosition(), true);
        painter.drawLine(x, m_skin->yMarkRectTop, x, m_skin->yMarkRectBottom);
    }
}
