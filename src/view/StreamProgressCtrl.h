// The waveform view's position and mouse logic: play position, click areas and the panning drag.
#pragma once

#include "view/StreamProgressCtrlBase.h"

#include <memory>
#include <optional>

class ConfigFile;

// Owns the time model and adds the play position, the position and scroll areas and panning.
class CStreamProgressCtrl {
public:
    // Results of onLButtonDown.
    enum Hit { HitNothing = 0, HitScrollLeft = 1, HitScrollRight = 2, HitPosition = 3, HitPan = 4 };
    // Points outside any window that press the scroll-left and scroll-right areas.
    static constexpr int kScrollLeftPoint = 3002;
    static constexpr int kScrollRightPoint = 3005;
    // Least pointer movement, in columns, that pans the view.
    static constexpr int kPanThreshold = 11;

    // The model reads its settings from the program's configuration.
    CStreamProgressCtrl();
    // The model reads its settings from the given store.
    explicit CStreamProgressCtrl(ConfigFile& config);
    virtual ~CStreamProgressCtrl();
    CStreamProgressCtrl(const CStreamProgressCtrl&) = delete;
    CStreamProgressCtrl& operator=(const CStreamProgressCtrl&) = delete;

    // The time rectangle; re-places the position column and resets the scroll areas.
    void setRect(qint32 left, qint32 top, qint32 right, qint32 bottom);
    // Area in which a press moves the position to the pressed column.
    void setPositionArea(const ViewRect& area) { m_positionArea = area; }
    // Moves the play position to t and its column with it.
    void setPosition(qint64 t);
    qint64 getPosition() const { return m_position; }
    // Moves the position to column x and the time there.
    void setPositionPixel(qint32 x);
    // Remembers the position (shown as a line while the show-saved-position flag is on).
    void savePosition() { m_savedPosition = m_position; }
    // Moves the position to t, scrolling the view when t is outside; returns whether it scrolled.
    bool ensureVisible(qint64 t);
    // Scrolls when (x, y) is in a scroll area: 1 left, 2 right, else 0.
    int hitScroll(qint32 x, qint32 y);
    // A press: one of Hit.
    int onLButtonDown(qint32 x, qint32 y);
    // A double click acts only on the scroll areas.
    int onLButtonDblClk(qint32 x, qint32 y) { return hitScroll(x, y); }
    // Pans the view during a drag; 1 when it panned, else 0.
    int onMouseMove(qint32 x, qint32 y);
    // Ends a panning drag.
    void onLButtonUp() { m_dragging = false; }
    // Whether t lies in the visible range, both ends included.
    bool isInVisible(qint64 t) const;
    // Whether the model's copy of the selection is valid.
    bool hasSelection() const { return m_model->selection().isValid(); }
    // Box of the visible part of the selection (x_a, y_a, x_b, y_b), none when nothing shows.
    std::optional<ViewRect> getSelectionPixels() const;
    // Sets the control's and the model's empty flags.
    void setEmpty(bool empty);
    bool isEmpty() const { return m_empty; }

    // Forwards to the model; the ones that move the view keep the position column in step.
    void zoomIn();
    bool zoomOut();
    bool zoomAll();
    qint64 scroll(qint64 dt);
    qint64 scrollLeft(int percent);
    qint64 scrollRight(int percent);
    qint64 goToBegin();
    bool setSaved(qint32 length, bool reset);
    bool isZoomed() const { return m_model->isZoomed(); }
    bool canZoomIn() const { return m_model->canZoomIn(); }
    qint64 pixelToTime(qint32 x) const { return m_model->pixelToTime(x); }
    qint32 timeToPixel(qint64 t, bool clamp) const { return m_model->timeToPixel(t, clamp); }
    void setSelection(const CCutInfo& cut) { m_model->setSelection(cut); }

    // Accessors for painting.
    CStreamProgressCtrlBase& model() { return *m_model; }
    const CStreamProgressCtrlBase& model() const { return *m_model; }
    qint64 visibleBegin() const { return m_model->visibleBegin(); }
    qint64 visibleEnd() const { return m_model->visibleEnd(); }
    qint64 streamBegin() const { return m_model->streamBegin(); }
    qint64 streamEnd() const { return m_model->streamEnd(); }
    // The time rectangle as last given to setRect.
    ViewRect rect() const { return {m_left, m_top, m_right, m_bottom}; }
    const ViewRect& positionArea() const { return m_positionArea; }
    qint32 getPositionX() const { return m_positionX; }
    qint64 getSavedPosition() const { return m_savedPosition; }
    bool showSavedPosition() const { return m_showSavedPosition; }
    void setShowSavedPosition(bool on) { m_showSavedPosition = on; }

private:
    qint32 m_left = 0;
    qint32 m_right = 0;
    qint32 m_top = 0;
    qint32 m_bottom = 0;
    std::unique_ptr<CStreamProgressCtrlBase> m_model;
    bool m_showSavedPosition = false;
    qint64 m_position = 0;
    qint32 m_positionX = 0;
    ViewRect m_positionArea;
    ViewRect m_scrollLeftArea{3001, 3001, 3003, 3003};
    ViewRect m_scrollRightArea{3004, 3004, 3006, 3006};
    qint32 m_dragX = 0;
    bool m_dragging = false;
    qint64 m_savedPosition = 0;
    bool m_empty = true;
};
