// The scrolling wave display.
#include "audio/gui/AudioWaveMonitor.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
const QColor kBackground(0, 0, 0);
const QColor kCentre(0, 90, 0);
const QColor kWave(0, 220, 0);
const QColor kFrame(64, 0, 0);
} // namespace

CAudioWaveMonitor::CAudioWaveMonitor(QWidget* parent)
    : QWidget(parent), m_ring(std::make_unique<CPCRingBuffer>(1)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(&m_timer, &QTimer::timeout, this, &CAudioWaveMonitor::Poll);
}

CAudioWaveMonitor::~CAudioWaveMonitor() = default;

void CAudioWaveMonitor::Start(const WAVEFORMATEX& format, int periodMs) {
    m_format = format;
    // Four seconds of sound; made before the source delivers to this display.
    m_ring = std::make_unique<CPCRingBuffer>(4 * format.nAvgBytesPerSec);
    m_points.clear();
    m_periodMs = std::max(1, periodMs);
    m_timer.start(m_periodMs);
    update();
}

void CAudioWaveMonitor::Stop() {
    m_timer.stop();
}

void CAudioWaveMonitor::SetTimeWindow(int milliseconds) {
    m_windowMs = std::max(1, milliseconds);
}

void CAudioWaveMonitor::SetLogarithmic(bool on, int x0, int x1, int s) {
    m_logarithmic = on;
    m_x0 = x0;
    m_x1 = x1;
    m_s = s;
    update();
}

int CAudioWaveMonitor::ProcessBuffer(const void* data, uint32_t bytes) {
    m_ring->Write(data, bytes); // a full ring drops the block
    return 0;
}

int CAudioWaveMonitor::PointCount() const {
    return std::max(1, width() - 2 * kMargin);
}

int CAudioWaveMonitor::FramesPerPoint() const {
    return std::max(
        1, int(int64_t(m_format.nSamplesPerSec) * m_windowMs / (int64_t(PointCount()) * 1000)));
}

int16_t CAudioWaveMonitor::GroupPoint(const char* data, int frames, int frameSize) {
    int16_t best = 0;
    for (int i = 0; i < std::min(frames, kMaxFramesPerPoint); ++i) {
        int16_t sample;
        std::memcpy(&sample, data + size_t(i) * size_t(frameSize), sizeof sample);
        if (std::abs(int(sample)) > std::abs(int(best)))
            best = sample;
    }
    return best;
}

void CAudioWaveMonitor::Poll() {
    const int frameSize = m_format.nBlockAlign;
    if (frameSize < 2 || m_format.wBitsPerSample != 16)
        return;
    const int points = PointCount();
    const int framesPerPoint = FramesPerPoint();
    const uint32_t group = uint32_t(framesPerPoint * frameSize);
    const uint32_t held = m_ring->GetAvailable();
    if (held <= group)
        return;
    const uint64_t windowBytes = uint64_t(m_format.nAvgBytesPerSec) * uint32_t(m_windowMs) / 1000;
    uint64_t wanted = held;
    if (held > windowBytes) {
        // Behind: one timer period's worth at the display's own pace, and what lies beyond the
        // window, so that the display is never more than the window behind the sound.
        wanted = uint64_t(m_periodMs) * uint32_t(points) * 1000 * uint32_t(framesPerPoint) /
                 uint32_t(m_windowMs) * uint32_t(frameSize) / 1000;
        wanted = std::min<uint64_t>((wanted + held - windowBytes) & ~uint64_t(3), held);
    }
    wanted -= wanted % group; // whole points only; the rest waits for the next tick
    if (wanted == 0)
        return;
    m_read.resize(size_t(wanted));
    m_ring->ReadExact(m_read.data(), uint32_t(wanted));
    for (uint64_t at = 0; at < wanted; at += group)
        m_points.push_back(GroupPoint(m_read.data() + at, framesPerPoint, frameSize));
    while (m_points.size() > size_t(points))
        m_points.pop_front();
    update();
}

double CAudioWaveMonitor::Mapped(double value) const {
    if (!m_logarithmic)
        return value;
    if (std::abs(value) <= m_x1 || m_x1 == m_x0)
        return 0.0;
    return std::copysign(m_s * std::log10((std::abs(value) - m_x0) / (m_x1 - m_x0)), value);
}

void CAudioWaveMonitor::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setPen(QPen(kFrame, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const double centre = area.top() + area.height() / 2.0;
    painter.setPen(QPen(kCentre, 1));
    painter.drawLine(QPointF(area.left(), centre), QPointF(area.right(), centre));
    if (m_points.empty())
        return;
    const double largest = Mapped(double((1 << 15) - 1 - 1));
    const double scale = largest > 0 ? area.height() / 2.0 / largest : 0.0;
    QPainterPath path;
    for (size_t i = 0; i < m_points.size(); ++i) {
        const QPointF at(area.left() + double(i), centre - Mapped(m_points[i]) * scale);
        if (i == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kWave, 1));
    painter.drawPath(path);
}
