// The scrolling wave display: the envelope of the last fraction of a second of captured sound.
#pragma once

#include "audio/AudioStreamGrabber.h"
#include "audio/PCRingBuffer.h"
#include "util/WinTypes.h"

#include <QTimer>
#include <QWidget>

#include <deque>
#include <memory>
#include <vector>

// The capture thread only writes into the ring (ProcessBuffer); reading the ring, making the
// points and painting happen on the user thread, on the display's own timer.
class CAudioWaveMonitor : public QWidget, public IAudioStreamGrabber {
    Q_OBJECT
public:
    // Left and right (and top and bottom) margins of the drawing, in pixels.
    static constexpr int kMargin = 4;
    // Frames looked at per point at most.
    static constexpr int kMaxFramesPerPoint = 300;

    explicit CAudioWaveMonitor(QWidget* parent = nullptr);
    ~CAudioWaveMonitor() override;

    // Starts showing sound of format, reading the ring every periodMs; clears what was shown.
    void Start(const WAVEFORMATEX& format, int periodMs);
    // Stops reading (the points stay).
    void Stop();
    // Sets how many milliseconds of sound the width shows.
    void SetTimeWindow(int milliseconds);
    // Chooses the logarithmic view and its parameters: a value v maps to 0 when |v| <= x1, else
    // to sign(v) x s x log10((|v| - x0) / (x1 - x0)).
    void SetLogarithmic(bool on, int x0, int x1, int s);
    // Writes the bytes into the ring; dropped when it is full (capture thread). Returns 0.
    int ProcessBuffer(const void* data, uint32_t bytes) override;

    // The points shown, oldest first.
    const std::deque<int16_t>& points() const { return m_points; }

    QSize sizeHint() const override { return QSize(320, 120); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Reads what the ring holds and turns it into points (the timer's step).
    void Poll();
    // The point of a group of frames of 16-bit PCM: the first channel's sample of largest
    // magnitude (sign kept) among the first kMaxFramesPerPoint frames.
    static int16_t GroupPoint(const char* data, int frames, int frameSize);
    // Points that fit the drawable width.
    int PointCount() const;
    // Frames of sound per point for the width and the time window (at least 1).
    int FramesPerPoint() const;
    // The value drawn for a sample value (the logarithmic mapping when it is on).
    double Mapped(double value) const;

    WAVEFORMATEX m_format{};
    std::unique_ptr<CPCRingBuffer> m_ring; // exchanged only while no source delivers
    QTimer m_timer;
    int m_periodMs = 20;
    int m_windowMs = 100;
    std::deque<int16_t> m_points;
    std::vector<char> m_read;
    bool m_logarithmic = false;
    double m_x0 = 0, m_x1 = 6000, m_s = 1;
};
