#include "view/StreamProgressCtrl.h"

#include <algorithm>
#include <cstdlib>

CStreamProgressCtrl::CStreamProgressCtrl() : m_model(std::make_unique<CStreamProgressCtrlBase>()) {}

CStreamProgressCtrl::CStreamProgressCtrl(ConfigFile& config)
    : m_model(std::make_unique<CStreamProgressCtrlBase>(config)) {}

CStreamProgressCtrl::~CStreamProgressCtrl() = default;

void CStreamProgressCtrl::setRect(qint32 left, qint32 top, qint32 right, qint32 bottom) {
    m_model->setPixelRect(left, top, right, bottom);
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    m_positionX = m_model->timeToPixel(m_position, true);
    m_scrollLeftArea = {3001, 3001, 3003, 3003};
    m_scrollRightArea = {3004, 3004, 3006, 3006};
}

void CStreamProgressCtrl::setPosition(qint64 t) {
    m_position = t;
    m_positionX = m_model->timeToPixel(t, true);
}

void CStreamProgressCtrl::setPositionPixel(qint32 x) {
    m_positionX = x;
    m_position = m_model->pixelToTime(x);
}

bool CStreamProgressCtrl::ensureVisible(qint64 t) {
    const CStreamProgressCtrlBase& m = *m_model;
    if (m.visibleBegin() <= t && t < m.visibleEnd()) {
        setPosition(t);
        return false;
    }
    m_model->scrollRight(90);
    if (t < m.visibleBegin()) {
        m_model->scroll(t - m.visibleBegin());
        t = m.visibleBegin();
    } else if (t >= m.visibleEnd()) {
        m_model->scroll(t - m.visibleEnd());
        t = m.visibleEnd();
    }
    if (t >= m.visibleEnd())
        t = m.visibleEnd() - 1;
    setPosition(t);
    return true;
}

int CStreamProgressCtrl::hitScroll(qint32 x, qint32 y) {
    if (m_scrollLeftArea.contains(x, y)) {
        const qint64 d = m_model->scrollLeft(25);
        setPosition(d != 0 ? m_position + d : m_model->streamBegin());
        return HitScrollLeft;
    }
    if (m_scrollRightArea.contains(x, y)) {
        const qint64 d = m_model->scrollRight(25);
        setPosition(d != 0 ? m_position + d : m_model->streamEnd() - 1);
        return HitScrollRight;
    }
    return HitNothing;
}

int CStreamProgressCtrl::onLButtonDown(qint32 x, qint32 y) {
    if (const int scrolled = hitScroll(x, y))
        return scrolled;
    if (m_model->contains(x, y)) {
        m_dragX = x;
        m_dragging = true;
        return HitPan;
    }
    if (m_positionArea.contains(x, y)) {
        setPositionPixel(x);
        return HitPosition;
    }
    return HitNothing;
}

int CStreamProgressCtrl::onMouseMove(qint32 x, qint32 /*y*/) {
    if (!m_dragging || std::abs(m_dragX - x) < kPanThreshold)
        return 0;
    const qint64 shift = m_model->scroll(m_model->pixelToTime(m_dragX) - m_model->pixelToTime(x));
    setPosition(m_position + shift);
    m_dragX = x;
    return 1;
}

bool CStreamProgressCtrl::isInVisible(qint64 t) const {
    return m_model->visibleBegin() <= t && t <= m_model->visibleEnd();
}

std::optional<ViewRect> CStreamProgressCtrl::getSelectionPixels() const {
    const CCutInfo& cut = m_model->selection();
    const qint64 begin = m_model->visibleBegin();
    const qint64 end = m_model->visibleEnd();
    if (!cut.isValid() || cut.start() >= end || cut.end() <= begin)
        return std::nullopt;
    const qint64 a = std::max(cut.start(), begin);
    const qint64 b = std::min(cut.end(), end);
    if (b < a)
        return std::nullopt;
    const qint32 xa = m_model->timeToPixel(a, true);
    qint32 xb = m_model->timeToPixel(b, true);
    if (xa == xb)
        ++xb;
    return ViewRect{xa, m_top + 1, xb, m_bottom};
}

void CStreamProgressCtrl::setEmpty(bool empty) {
    m_empty = empty;
    m_model->setEmpty(empty);
}

void CStreamProgressCtrl::zoomIn() {
    m_model->zoomIn(m_position);
    setPosition(m_position);
}

bool CStreamProgressCtrl::zoomOut() {
    const bool changed = m_model->zoomOut(m_position);
    setPosition(m_position);
    return changed;
}

bool CStreamProgressCtrl::zoomAll() {
    const bool changed = m_model->zoomAll();
    setPosition(m_position);
    return changed;
}

qint64 CStreamProgressCtrl::scroll(qint64 dt) {
    const qint64 shift = m_model->scroll(dt);
    setPosition(m_position);
    return shift;
}

qint64 CStreamProgressCtrl::scrollLeft(int percent) {
    const qint64 d = m_model->scrollLeft(percent);
    setPosition(m_position);
    return d;
}

qint64 CStreamProgressCtrl::scrollRight(int percent) {
    const qint64 d = m_model->scrollRight(percent);
    setPosition(m_position);
    return d;
}

qint64 CStreamProgressCtrl::goToBegin() {
    const qint64 d = m_model->goToBegin();
    setPosition(m_position);
    return d;
}

bool CStreamProgressCtrl::setSaved(qint32 length, bool reset) {
    const bool changed = m_model->setSaved(length, reset);
    setPosition(m_position);
    return changed;
}
