// The ringtone selection and its fade rules.
#include "encode/CutInfo.h"

void CCutInfo::setStart(qint64 t) {
    m_start = t;
    clampFades(Yield::FadeIn);
}

void CCutInfo::setEnd(qint64 t) {
    m_end = t;
    clampFades(Yield::FadeOut);
}

void CCutInfo::setFadeIn(qint32 len) {
    m_fadeIn = len;
    clampFades(Yield::FadeOut);
}

void CCutInfo::setFadeOut(qint32 len) {
    m_fadeOut = len;
    clampFades(Yield::FadeIn);
}

void CCutInfo::validate() {
    const qint64 len = m_end - m_start;
    m_valid =
        m_start >= 0 && m_end >= 0 && m_start < m_end && len >= kMinLength && len <= kMaxLength;
    if (m_valid)
        clampFades(Yield::FadeOut);
    else
        reset();
}

// Keeps both fades inside the selection; when they still overlap, the yielding one is shortened
// to the length minus the other.
void CCutInfo::clampFades(Yield yielding) {
    const qint64 len = m_end - m_start;
    if (m_start + m_fadeIn < m_start)
        m_fadeIn = 0;
    if (m_start + m_fadeIn > m_end)
        m_fadeIn = qint32(len);
    if (m_end - m_fadeOut < m_start)
        m_fadeOut = qint32(len);
    if (m_end - m_fadeOut > m_end)
        m_fadeOut = 0;
    if (m_start + m_fadeIn > m_end - m_fadeOut) {
        if (yielding == Yield::FadeOut)
            m_fadeOut = qint32(len - m_fadeIn);
        else
            m_fadeIn = qint32(len - m_fadeOut);
    }
}
