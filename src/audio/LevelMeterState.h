// The arithmetic of one level meter: the level in decibels, the falling peak mark, and the clip
// indicator that holds for two seconds after a sample reaches full scale.
#pragma once

#include <cstdint>

// Fed once per captured block with the block's largest absolute sample; times are milliseconds of
// any steady clock the caller chooses (so that the hold can be checked without waiting).
class CLevelMeterState {
public:
    // How long the clip indicator stays lit after a full-scale sample.
    static constexpr int64_t kClipHoldMs = 2000;
    // The largest 16-bit sample value: a sample of this size (either sign) clips.
    static constexpr int kFullScale16 = 32767;
    // The zone limits in decibels: green up to the first, yellow up to the second, red above.
    static constexpr double kFirstDb = -8.0;
    static constexpr double kSecondDb = -3.0;

    // Sets the decibel range shown (floor at the bottom, top at the top).
    void SetRange(double floorDb, double topDb);
    // Takes a block's largest absolute sample at time nowMs: the current level, the peak mark
    // (which holds for ten capture buffers after a rise, then falls faster and faster) and the
    // clip hold. share is the block's length in capture buffers: a part of a buffer moves the
    // mark by its share, so the mark keeps its pace in time whatever the block size.
    void SetLevel(int amplitude, int64_t nowMs, double share = 1.0);

    // The current level in decibels (not clamped).
    double Current() const { return m_current; }
    // The peak mark in decibels.
    double Peak() const { return m_peak; }
    double Floor() const { return m_floor; }
    double Top() const { return m_top; }
    // Whether the clip indicator is lit at nowMs.
    bool ClipLit(int64_t nowMs) const { return m_clipSeen && nowMs < m_clipUntil; }
    // The decibels of an amplitude: 20 x log10(|amplitude + 1| / 32768).
    static double Decibels(int amplitude);

private:
    double m_peak = -40.0;
    double m_current = -40.0;
    double m_top = 0.0;
    double m_floor = -40.0;
    double m_speed = 1.0;
    bool m_clipSeen = false;
    int64_t m_clipUntil = 0;
};
