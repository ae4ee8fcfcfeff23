// The ringtone selection edited by command: start and end (in two steps while there is none),
// the fades, the length limits of one to thirty seconds, and what each set command would do.
#pragma once

#include <QtGlobal>
#include <functional>

class CCutInfo;
class CRingtoneModel;
class CStreamProgressCtrl;

class CSelectionEditor {
public:
    // 0 no selection, 1 start set and waiting for the end, 2 a selection exists.
    enum class State { None = 0, Pending = 1, Selection = 2 };
    // Shows the translated string-table message (163 too short, 164 too long).
    using ShowMessage = std::function<void(int id)>;
    // Maps a time set as an edge to the time it lands on (snapping); the identity by default.
    using EdgeFilter = std::function<qint64(qint64)>;

    CSelectionEditor(CStreamProgressCtrl& progress, ShowMessage showMessage);

    void setModel(CRingtoneModel* model) { m_model = model; }
    void setEdgeFilter(EdgeFilter filter) { m_edgeFilter = std::move(filter); }
    State state() const { return m_state; }

    // Refresh: forgets the pending selection (empty input or a new one).
    void clearPending() { m_pendingStart = m_pendingEnd = 0; }
    // Refresh: state 0 with a selection becomes 2, 2 without one becomes 0.
    void follow(bool hasSelection);

    // Set ringtone start at pos (command 31). True when it acted.
    bool setStart(qint64 pos);
    // Set ringtone end at pos (command 32); stopPlayback is called before a pending selection is
    // finished. True when it acted.
    bool setEnd(qint64 pos, const std::function<void()>& stopPlayback);
    // Fade commands at pos: 41 fade-in ends, 42 fade-out begins, 43 both removed. True when a
    // selection contains pos.
    bool setFade(int command, qint64 pos);

    // The start (or end) edge moved to pos, limited to the selection's length rules; with
    // messages the limits that applied are shown. The limited time.
    qint64 limitStart(qint64 pos, bool messages) const;
    qint64 limitEnd(qint64 pos, bool messages) const;
    // Flags 9 and 10 of the button state: whether set start and set end would act at pos.
    bool canSetStart(qint64 pos) const;
    bool canSetEnd(qint64 pos) const;
    // The time an edge set by mouse or key lands on.
    qint64 edge(qint64 t) const { return m_edgeFilter ? m_edgeFilter(t) : t; }

private:
    // Whether the model's selection contains pos, and whether it intersects the visible range.
    bool inside(qint64 pos) const;
    bool intersectsVisible() const;
    // pos limited so that the selection from pos to anchor (side 1: pos is the start; -1: the
    // end) is 1 to 30 seconds long; with messages the limit that applied is shown.
    qint64 limitLength(qint64 pos, qint64 anchor, int side, bool messages) const;
    // Applies a start or end to the model's selection when it changed; tells the model.
    void applyStart(qint64 pos);
    void applyEnd(qint64 pos);

    CStreamProgressCtrl& m_progress;
    CRingtoneModel* m_model = nullptr;
    ShowMessage m_showMessage;
    EdgeFilter m_edgeFilter;
    State m_state = State::None;
    qint64 m_pendingStart = 0;
    qint64 m_pendingEnd = 0;
};
