// The waveform view's time model: visible and stream ranges, the pixel rectangle, zoom and scroll.
#pragma once

#include "encode/CutInfo.h"
#include "view/ViewRect.h"

#include <QtGlobal>

class ConfigFile;

// Maps milliseconds of the input onto a pixel rectangle and back; no window needed.
class CStreamProgressCtrlBase {
public:
    // Bits of the paint-layer mask.
    enum PaintLayer {
        LayerStream = 1,
        LayerSelection = 2,
        LayerWaveform = 4,
        LayerAxis = 16,
        LayersAll = 31,
    };

    // Reads MinZoomSec and the LogViewParam_* settings from the program's configuration.
    CStreamProgressCtrlBase();
    // The same settings read from the given store.
    explicit CStreamProgressCtrlBase(ConfigFile& config);
    virtual ~CStreamProgressCtrlBase();

    // Column of time t; with clamp, times before/after the visible range give the edge columns.
    qint32 timeToPixel(qint64 t, bool clamp) const;
    // Time at column x, limited to [stream begin, stream end - 1].
    qint64 pixelToTime(qint32 x) const;
    // x limited to the rectangle's columns.
    qint32 clampX(qint32 x) const;
    // Stores the rectangle, normalised so that left <= right and top <= bottom.
    void setPixelRect(qint32 xa, qint32 ya, qint32 xb, qint32 yb);
    // Whether the point lies in the rectangle, edges included.
    bool contains(qint32 x, qint32 y) const;

    // Whether the visible span is still wide enough to zoom in.
    bool canZoomIn() const;
    // Whether the visible range differs from the stream range.
    bool isZoomed() const;
    // Narrows the visible range around t, at most halving it, towards the minimum zoom span.
    void zoomIn(qint64 t);
    // Widens the visible range by half its span on each side; returns whether it changed.
    bool zoomOut(qint64 t);
    // Shows the whole stream; returns whether the visible range changed.
    bool zoomAll();
    // Moves the view left by percent of its span; returns the change of visible end (<= 0).
    qint64 scrollLeft(int percent);
    // Moves the view right by percent of its span; returns the change of visible end (>= 0).
    qint64 scrollRight(int percent);
    // Moves the view by dt within the stream; returns the shift actually made.
    qint64 scroll(qint64 dt);
    // Moves the view to start at the stream begin; returns how far it moved.
    qint64 goToBegin();
    // Sets the stream to [0, length] (reset: shows all of it); returns whether the view changed.
    bool setSaved(qint32 length, bool reset);
    // Copies the workflow's selection.
    void setSelection(const CCutInfo& cut) { m_selection = cut; }

    // Offset of waveform value v (-128..127) from the centre line in units of amplitude / 128,
    // on the linear or the logarithmic scale as the logarithmic flag says.
    double transformValue(int v) const;
    // The drawn offset in pixels: trunc(transformValue(v) * scale), scale = amplitude / 128.
    int valueOffset(int v, double scale) const;

    qint64 visibleBegin() const { return m_visibleBegin; }
    qint64 visibleEnd() const { return m_visibleEnd; }
    qint64 streamBegin() const { return m_streamBegin; }
    qint64 streamEnd() const { return m_streamEnd; }
    qint32 waveformSpanLimit() const { return m_waveformSpanLimit; }
    bool isDataAligned() const { return m_dataAligned; }
    const CCutInfo& selection() const { return m_selection; }
    qint32 savedLength() const { return m_savedLength; }
    // The rectangle as stored (normalised); right and bottom are its last column and row.
    ViewRect pixelRect() const { return {m_x0, m_y0, m_x1, m_y1}; }
    bool isLogarithmic() const { return m_logarithmic; }
    void setLogarithmic(bool on) { m_logarithmic = on; }
    bool isEmpty() const { return m_empty; }
    void setEmpty(bool empty) { m_empty = empty; }
    qint32 minZoomSpan() const { return m_minZoomSpan; }
    double logOffset() const { return m_logOffset; }
    // Times of the left and right edge of the rectangle being repainted.
    void setRepaintRange(qint64 begin, qint64 end);
    qint64 repaintBegin() const { return m_repaintBegin; }
    qint64 repaintEnd() const { return m_repaintEnd; }
    qint32 paintLayers() const { return m_paintLayers; }

private:
    // Writes the trace line for a pair of times of which one is negative.
    static void traceCheck(const char* label, qint64 a, qint64 b);
    // Keeps the visible range inside the stream range, moving only the bound that leaves it.
    void clampVisible();
    // Moves the visible range by dt, then back inside the stream at the begin, then at the end.
    void shiftVisible(qint64 dt);
    // Moves the view by percent of its span (negative: left); the change of visible end.
    qint64 scrollByPercent(int percent, const char* label);

    qint64 m_visibleBegin = 0;
    qint64 m_visibleEnd = 1;
    qint64 m_streamBegin = 0;
    qint64 m_streamEnd = 1;
    qint32 m_waveformSpanLimit = 900001;
    bool m_dataAligned = true;
    CCutInfo m_selection;
    qint32 m_savedLength = 0;
    qint32 m_x0 = 0;
    qint32 m_y0 = 0;
    qint32 m_x1 = 1;
    qint32 m_y1 = 1;
    bool m_logarithmic = true;
    bool m_empty = true;
    qint32 m_minZoomSpan = 6000;
    qint32 m_logX0 = 0;
    qint32 m_logX1 = 6000;
    qint32 m_logS = 1;
    double m_logOffset = 0;
    double m_logGain = 0;
    qint64 m_repaintBegin = 0;
    qint64 m_repaintEnd = 0;
    qint32 m_paintLayers = LayersAll;
};
