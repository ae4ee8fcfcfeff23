// The arithmetic of one level meter.
#include "audio/LevelMeterState.h"

#include <cmath>
#include <cstdlib>

void CLevelMeterState::SetRange(double floorDb, double topDb) {
    m_floor = floorDb;
    m_top = topDb;
}

double CLevelMeterState::Decibels(int amplitude) {
    return 20.0 * std::log10(std::abs(double(amplitude) + 1.0) / 32768.0);
}

void CLevelMeterState::SetLevel(int amplitude, int64_t nowMs, double share) {
    m_current = Decibels(amplitude);
    if (m_speed <= 100.0)
        m_speed += 0.2 * share;
    if (m_peak > m_floor && m_speed > 1e-9)
        m_peak -= m_speed * share;
    if (m_peak < m_current) {
        m_peak = m_current;
        m_speed = -2.0;
    }
    if (std::abs(amplitude) >= kFullScale16) {
        m_clipSeen = true;
        m_clipUntil = nowMs + kClipHoldMs;
    }
}
