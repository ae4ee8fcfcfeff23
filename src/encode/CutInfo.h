// The ringtone selection: start, end and the two fades, in milliseconds of the work WAV.
#pragma once

#include <QtGlobal>

class CCutInfo {
public:
    static constexpr qint64 kMinLength = 1000;  // shortest ringtone
    static constexpr qint64 kMaxLength = 30000; // longest ringtone

    // All fields 0, not valid.
    void reset() { *this = CCutInfo(); }

    // Each setter clamps the fades afterwards; the comment names the fade that yields on overlap.
    void setStart(qint64 t);     // the fade-in yields
    void setEnd(qint64 t);       // the fade-out yields
    void setFadeIn(qint32 len);  // the fade-out yields
    void setFadeOut(qint32 len); // the fade-in yields
    void setFadeInEnd(qint64 t) { setFadeIn(qint32(t - m_start)); }
    void setFadeOutBegin(qint64 t) { setFadeOut(qint32(m_end - t)); }

    // valid := 0 <= start < end with a length of 1 to 30 seconds; an invalid selection is reset.
    void validate();

    bool isValid() const { return m_valid; }
    qint64 start() const { return m_start; }
    qint64 end() const { return m_end; }
    qint64 length() const { return m_end - m_start; }
    qint32 fadeIn() const { return m_fadeIn; }
    qint32 fadeOut() const { return m_fadeOut; }
    qint64 getFadeInEnd() const { return m_start + m_fadeIn; }
    qint64 getFadeOutBegin() const { return m_end - m_fadeOut; }

    bool operator==(const CCutInfo&) const = default;

private:
    enum class Yield { FadeIn, FadeOut };
    void clampFades(Yield yielding);

    bool m_valid = false;
    qint64 m_start = 0;
    qint64 m_end = 0;
    qint32 m_fadeIn = 0;
    qint32 m_fadeOut = 0;
};
