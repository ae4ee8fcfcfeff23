// The waveform view: shows the input with its ringtone selection, fades, time axis and play
// position; edits the selection by command, mouse and keys; plays the input or the ringtone.
#pragma once

#include "audio/WavPlayer.h"
#include "encode/CutInfo.h"
#include "view/StreamProgressCtrl.h"
#include "view/gui/SelectionEditor.h"
#include "view/gui/StreamViewPainter.h"
#include "view/gui/StreamViewSkin.h"
#include "workflow/IRingtoneView.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QPixmap>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class CSelectionHistory;
class CSkinParser;

class CStreamViewCtrl : public QWidget, public CWavPlayerCallBack, public IRingtoneView {
    Q_OBJECT
public:
    // The command identifiers the main control sends.
    enum Command {
        CmdZoomIn = 10,
        CmdZoomOut = 12,
        CmdPlay = 21,
        CmdPlayRingtone = 22,
        CmdStop = 23,
        CmdSetStart = 31,
        CmdSetEnd = 32,
        CmdFadeIn = 41,
        CmdFadeOut = 42,
        CmdRemoveFades = 43,
        CmdScrollLeft = 51,
        CmdScrollRight = 52,
        CmdSuggest = 61,
        CmdGainOne = 32771,
        CmdGainNormalized = 32772,
    };
    // The editing state: 0 none, 1 start set and waiting for the end, 2 a selection exists.
    using EditState = CSelectionEditor::State;

    explicit CStreamViewCtrl(QWidget* parent);
    ~CStreamViewCtrl() override;

    // Reads the skin section "[stream_view]"; false when it cannot be opened.
    bool loadSkin(CSkinParser& parser);
    // Sets up the time axis, moves the view to the skin's position and repaints it.
    void applySkin();
    // Takes the model's current state. reset: a new input (show all of it); follow: keep showing
    // all of a growing input when all of it was shown.
    void refresh(bool reset, bool follow);
    // Runs one of the command identifiers above.
    void onCommand(int id);
    // Called after every state change, so that the owner updates its buttons.
    void setChangeListener(std::function<void()> listener) {
        m_changeListener = std::move(listener);
    }

    // IRingtoneView.
    void SetModel(CRingtoneModel* model) override;
    void Refresh(bool reset, bool follow) override { refresh(reset, follow); }
    void StopPlayback() override { stop(); }
    void GetButtonState(ButtonState& state) const override;
    bool IsPlaying() const override;
    qint64 GetPosition() const override { return m_progress.getPosition(); }

    // The player's notification, on the playing thread.
    void onPlayFinished(bool error) override;

    // What tests and the benchmark look at.
    const CStreamProgressCtrl& progress() const { return m_progress; }
    CStreamProgressCtrl& progress() { return m_progress; }
    EditState editState() const { return m_editor.state(); }
    int timerInterval() const { return m_timerInterval; }
    const StreamViewSkin& skin() const { return m_skin; }
    // Moves the position as a timer tick does while playing; whether the view scrolled.
    bool advancePlayback();
    // The text the accessibility description reads: input, selection and position.
    QString describe() const;

protected:
    // Qt's events: layout on resize, the off-screen picture and overlay on paint, the mouse state
    // machine, the wheel's scrolling, and Escape and the editing keys.
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Which drag the left button started.
    enum class Drag { None, Panning, Moving, Edge };

    // Places the time rectangle and the position area in the view's width; redraws.
    void layout();
    // Marks the off-screen picture for drawing again and asks for a repaint.
    void invalidate();
    // Repaints only the strips of the cursor and the position text, old and new.
    void moveCursor();
    // Updates the accessible description and tells the owner of the change.
    void notify();
    // Sets the timer interval from the visible span when it changed, and tells the model.
    void updateTimerInterval();
    // Shows the string-table message (163, 164 with 30, 179, 2213) through the model's owner.
    void showMessage(int id);

    // Commands 21, 22 and 23, and the loop-seam preview (key L).
    void play();
    void playRingtone();
    void stop();
    void playLoopSeam();
    // The gain to play at: 1 at the input's own level, else the peak's, or for the ringtone the
    // gain the made ringtone gets.
    double playGain(bool ringtone) const;
    // Starts the player on the range; the lock hands the playing flag to the callback.
    bool startPlayer(const QString& file, qint64 start, qint64 end, const CCutInfo& cut,
                     bool ringtone);
    // The finished run that onPlayFinished left in m_finished, on the GUI thread. Invoked by
    // name, so that the queued call carries no data of ours across the threads: the data goes
    // through m_lock.
    Q_INVOKABLE void playFinished();
    // Commands 10 and 12, 51 and 52, and the selection commands 31 to 43.
    void zoom(bool in);
    void scrollBy(int command);
    void editSelection(int id);
    // Command 61: selects the input's loudest repeated stretch with its fades (one undo step),
    // showing the progress while it looks and the message when nothing suits.
    void suggest();
    // Moves the position to t, scrolling the view there when t is not visible.
    void showPosition(qint64 t);
    // Copies the model's selection into the progress control after an edit.
    void selectionEdited();

    // The hover state and cursor for a pointer at (x, y) with no button held.
    void hover(QPoint at);
    // Moves the selection, an edge of it, or the view with the pointer held down at x.
    void dragTo(QPoint at);
    // Ends a drag; cancelled puts a moved or dragged selection back.
    void endDrag(bool cancelled);
    // Keyboard editing: position steps, edges at the position, the suggestion, undo and redo.
    bool editByKey(QKeyEvent* event);
    // Moves the position to the time (within the input), scrolling to it.
    void stepPosition(qint64 to);
    // Puts back the selection before the last edit, or the one the last undo went back from.
    void undoRedo(bool redo);
    // Records the selection as it is now as one undo step when it differs from the last one.
    void recordHistory();
    // The nearest rising zero crossing within 10 ms when snapping is on, else t.
    qint64 snap(qint64 t) const;

    CStreamProgressCtrl m_progress;
    StreamViewSkin m_skin;
    CStreamViewPainter m_painter;
    CSelectionEditor m_editor;
    std::unique_ptr<CSelectionHistory> m_history;
    CRingtoneModel* m_model = nullptr;
    std::function<void()> m_changeListener;

    // Playback. m_lock guards m_playing, m_playingRingtone and m_run against the callback.
    std::unique_ptr<CWavPlayer> m_player;
    mutable std::mutex m_lock;
    bool m_playing = false;
    bool m_playingRingtone = false;
    quint64 m_run = 0; // counts starts and stops; a finished run that is not the last is dropped
    // A run that ended by itself, for playFinished.
    struct Finished {
        quint64 run;
        bool error;
        bool ringtone;
    };
    std::optional<Finished> m_finished;
    bool m_resumeAfterDrag = false;
    bool m_normalizedGain = true;
    QElapsedTimer m_clock;
    qint64 m_playStartTick = 0;
    qint64 m_playEnd = 0;
    QString m_seamFile; // the loop-seam WAV while it plays

    // The mouse state machine.
    Drag m_drag = Drag::None;
    bool m_overEdge = false;
    bool m_edgeIsStart = false;
    bool m_overSelection = false;
    bool m_modified = false;
    qint64 m_moveOffset = 0;
    CCutInfo m_savedCut; // the selection when a move or edge drag began, for cancelling
    QPoint m_pointer;    // the pointer's last position over the view
    qint64 m_edgeLower = 0;
    qint64 m_edgeUpper = 0;

    bool m_empty = true;
    int m_timerInterval = 62;
    qint64 m_lastSpan = 0;
    QTimer m_timer;

    // The view without the cursor, at the device's pixel ratio; redrawn when m_dirty.
    QPixmap m_canvas;
    bool m_dirty = true;
    QRegion m_overlay; // where the cursor and the position text were last drawn

    QCursor m_cursorEdge, m_cursorMove, m_cursorMoving, m_cursorArea, m_cursorGrab,
        m_cursorPositionArea;
};
