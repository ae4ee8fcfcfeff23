#include "view/StreamProgressCtrlBase.h"

#include "app/ConfigFile.h"
#include "app/Trace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

CStreamProgressCtrlBase::CStreamProgressCtrlBase() : CStreamProgressCtrlBase(GetConfig()) {}

CStreamProgressCtrlBase::CStreamProgressCtrlBase(ConfigFile& config)
    : m_minZoomSpan(config.GetMinZoomSec() * 1000), m_logX0(config.GetLogViewParam_X0()),
      m_logX1(config.GetLogViewParam_X1()), m_logS(config.GetLogViewParam_S()) {
    m_logOffset = m_logS * std::log10(double(m_logX1) - m_logX0);
    m_logGain = 128.0 / (m_logS * std::log10(32767.0 - m_logX0) - m_logOffset);
}

CStreamProgressCtrlBase::~CStreamProgressCtrlBase() = default;

qint32 CStreamProgressCtrlBase::timeToPixel(qint64 t, bool clamp) const {
    if (clamp) {
        if (t <= m_visibleBegin)
            return m_x0;
        if (t >= m_visibleEnd - 1)
            return m_x1;
    }
    if (m_visibleEnd <= m_visibleBegin) // only a zoom at a time far outside the stream does it
        return m_x0;
    const double part = double(t - m_visibleBegin) / double(m_visibleEnd - m_visibleBegin);
    const double x = std::trunc(part * double(m_x1 - m_x0));
    return m_x0 + qint32(std::clamp(x, -1e9, 1e9));
}

qint64 CStreamProgressCtrlBase::pixelToTime(qint32 x) const {
    if (m_x0 == m_x1)
        return m_visibleBegin;
    const double part = double(x - m_x0) / double(m_x1 - m_x0);
    const qint64 t =
        m_visibleBegin + qint64(std::trunc(part * double(m_visibleEnd - m_visibleBegin)));
    if (t < m_streamBegin)
        return m_streamBegin;
    if (t >= m_streamEnd)
        return m_streamEnd - 1;
    return t;
}

qint32 CStreamProgressCtrlBase::clampX(qint32 x) const {
    return std::clamp(x, m_x0, m_x1);
}

void CStreamProgressCtrlBase::setPixelRect(qint32 xa, qint32 ya, qint32 xb, qint32 yb) {
    m_x0 = std::min(xa, xb);
    m_x1 = std::max(xa, xb);
    m_y0 = std::min(ya, yb);
    m_y1 = std::max(ya, yb);
}

bool CStreamProgressCtrlBase::contains(qint32 x, qint32 y) const {
    return m_x0 <= x && x <= m_x1 && m_y0 <= y && y <= m_y1;
}

bool CStreamProgressCtrlBase::canZoomIn() const {
    return m_visibleEnd - m_visibleBegin >= qint64(m_minZoomSpan) + 50;
}

bool CStreamProgressCtrlBase::isZoomed() const {
    return m_visibleBegin != m_streamBegin || m_visibleEnd != m_streamEnd;
}

void CStreamProgressCtrlBase::zoomIn(qint64 t) {
    traceCheck("zoomIn time", t, 555);
    if (!canZoomIn())
        return;
    const qint64 span = m_visibleEnd - m_visibleBegin;
    const double factor = std::min(double(span) / double(m_minZoomSpan), 2.0);
    const qint64 newSpan = qint64(std::trunc(double(span) / factor));
    const qint64 right = qint64(std::trunc(double(m_visibleEnd - t) / factor));
    const qint64 left = qint64(std::trunc(double(t - m_visibleBegin) / factor));
    if (right > left) {
        m_visibleEnd = t + right;
        m_visibleBegin = m_visibleEnd - newSpan;
    } else {
        m_visibleBegin = t - left;
        m_visibleEnd = m_visibleBegin + newSpan;
    }
    clampVisible();
    traceCheck("zoomIn times", m_visibleBegin, m_visibleEnd);
}

bool CStreamProgressCtrlBase::zoomOut(qint64 t) {
    traceCheck("zoomOut time", t, 555);
    const qint64 oldBegin = m_visibleBegin;
    const qint64 oldEnd = m_visibleEnd;
    qint64 half = (m_visibleEnd - m_visibleBegin) / 2;
    if (half == 0)
        half = 10;
    m_visibleBegin -= half;
    m_visibleEnd += half;
    clampVisible();
    traceCheck("zoomOut times", m_visibleBegin, m_visibleEnd);
    return m_visibleBegin != oldBegin || m_visibleEnd != oldEnd;
}

bool CStreamProgressCtrlBase::zoomAll() {
    const bool changed = isZoomed();
    m_visibleBegin = m_streamBegin;
    m_visibleEnd = m_streamEnd;
    return changed;
}

qint64 CStreamProgressCtrlBase::scrollLeft(int percent) {
    return scrollByPercent(-percent, "scrollLeft times");
}

qint64 CStreamProgressCtrlBase::scrollRight(int percent) {
    return scrollByPercent(percent, "scrollRight times");
}

qint64 CStreamProgressCtrlBase::scrollByPercent(int percent, const char* label) {
    const qint64 oldEnd = m_visibleEnd;
    shiftVisible((m_visibleEnd - m_visibleBegin) * percent / 100);
    traceCheck(label, m_visibleBegin, m_visibleEnd);
    return m_visibleEnd - oldEnd;
}

qint64 CStreamProgressCtrlBase::scroll(qint64 dt) {
    const qint64 oldBegin = m_visibleBegin;
    shiftVisible(dt);
    traceCheck("scroll times", m_visibleBegin, m_visibleEnd);
    return m_visibleBegin - oldBegin;
}

void CStreamProgressCtrlBase::shiftVisible(qint64 dt) {
    qint64 begin = m_visibleBegin + dt;
    qint64 end = m_visibleEnd + dt;
    if (begin < m_streamBegin) {
        end += m_streamBegin - begin;
        begin = m_streamBegin;
    }
    if (end > m_streamEnd) {
        begin -= end - m_streamEnd;
        end = m_streamEnd;
    }
    m_visibleBegin = begin;
    m_visibleEnd = end;
}

qint64 CStreamProgressCtrlBase::goToBegin() {
    const qint64 d = m_visibleBegin - m_streamBegin;
    m_visibleBegin -= d;
    m_visibleEnd -= d;
    return d;
}

bool CStreamProgressCtrlBase::setSaved(qint32 length, bool reset) {
    m_savedLength = length;
    if (length == 0 || reset) {
        m_streamBegin = m_visibleBegin = 0;
        m_streamEnd = m_visibleEnd = length == 0 ? 1 : length;
        return true;
    }
    const qint64 oldBegin = m_visibleBegin;
    const qint64 oldEnd = m_visibleEnd;
    const qint64 span = m_visibleEnd - m_visibleBegin;
    if (m_streamBegin != 0) {
        m_streamBegin = 0;
        m_visibleBegin = std::max<qint64>(m_visibleBegin, 0);
    }
    if (m_streamEnd != length) {
        m_streamEnd = length;
        if (m_visibleEnd == 1)
            m_visibleEnd = m_streamEnd;
        else
            m_visibleEnd = std::min(m_visibleEnd, m_streamEnd);
    }
    if (m_visibleBegin >= m_streamEnd)
        m_visibleBegin = std::max(m_visibleEnd - span, m_streamBegin);
    if (m_streamBegin >= m_visibleEnd)
        m_visibleEnd = std::min(m_visibleBegin + span, m_streamEnd);
    traceCheck("setSaved times", m_visibleBegin, m_visibleEnd);
    return m_visibleBegin != oldBegin || m_visibleEnd != oldEnd;
}

double CStreamProgressCtrlBase::transformValue(int v) const {
    if (!m_logarithmic)
        return v;
    const int a = std::abs(256 * v);
    if (a <= m_logX1)
        return 0;
    const double r = m_logS * std::log10(double(a) - m_logX0) - m_logOffset;
    return v > 0 ? r * m_logGain : -r * m_logGain;
}

int CStreamProgressCtrlBase::valueOffset(int v, double scale) const {
    const double offset = std::trunc(transformValue(v) * scale);
    // Scale parameters that make no sense (X1 <= X0, say) draw a flat line, not garbage.
    return std::isfinite(offset) ? int(std::clamp(offset, -32768.0, 32767.0)) : 0;
}

void CStreamProgressCtrlBase::setRepaintRange(qint64 begin, qint64 end) {
    m_repaintBegin = begin;
    m_repaintEnd = end;
}

void CStreamProgressCtrlBase::traceCheck(const char* label, qint64 a, qint64 b) {
    if (a < 0 || b < 0)
        Trace(TRACE_ERROR, "negative time values in '%s' : %lld %lld", label,
              static_cast<long long>(a), static_cast<long long>(b));
}

void CStreamProgressCtrlBase::clampVisible() {
    m_visibleEnd = std::min(m_visibleEnd, m_streamEnd);
    m_visibleBegin = std::max(m_visibleBegin, m_streamBegin);
}
