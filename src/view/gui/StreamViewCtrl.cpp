// The stream view: commands, playback, the mouse state machine, keys and the cursor that follows
// playback.
#include "view/gui/StreamViewCtrl.h"

#include "app/ConfigFile.h"
#include "app/IOpProgress.h"
#include "app/IUserMessages.h"
#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "decode/ZeroCrossing.h"
#include "skin/SkinParser.h"
#include "util/DateTimeText.h"
#include "view/LoopSeam.h"
#include "view/SelectionHistory.h"
#include "workflow/ButtonState.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/RingtoneModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

// Hovering this close (pixels) to an edge of the selection grabs the edge.
constexpr int kEdgeGrip = 5;
// The timer interval never goes below this (ms).
constexpr int kMinTimerInterval = 60;
// Arrow keys with Shift move the position by this much (ms).
constexpr qint64 kKeyStepLong = 1000;
// Snapping looks this far (ms) around an edge.
constexpr qint64 kSnapReach = 10;

} // namespace

CStreamViewCtrl::CStreamViewCtrl(QWidget* parent)
    : QWidget(parent), m_editor(m_progress, [this](int id) { showMessage(id); }),
      m_history(std::make_unique<CSelectionHistory>()),
      m_player(std::make_unique<CWavPlayer>(this)) {
    setObjectName(QStringLiteral("StreamViewCtrl"));
    setWindowTitle(QStringLiteral("StreamViewCtrl"));
    setAttribute(Qt::WA_OpaquePaintEvent); // the off-screen picture covers everything
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(LoadString(IDS_VIEW_NAME));
    m_editor.setEdgeFilter([this](qint64 t) { return snap(t); });
    m_cursorEdge = QCursor(Qt::SizeHorCursor);
    m_cursorMove = QCursor(Qt::SizeAllCursor);
    m_cursorMoving = QCursor(Qt::ClosedHandCursor);
    m_cursorArea = QCursor(Qt::IBeamCursor);
    m_cursorGrab = QCursor(Qt::ClosedHandCursor);
    m_cursorPositionArea = QCursor(Qt::PointingHandCursor);
    m_clock.start();
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_drag != Drag::Panning && IsPlaying())
            advancePlayback();
    });
    m_timer.start(m_timerInterval);
}

CStreamViewCtrl::~CStreamViewCtrl() {
    m_player.reset(); // stops playing: no notification can follow
    if (!m_seamFile.isEmpty())
        QFile::remove(m_seamFile);
}

bool CStreamViewCtrl::loadSkin(CSkinParser& parser) {
    return m_skin.load(parser);
}

void CStreamViewCtrl::applySkin() {
    m_painter.applySkin(m_skin);
    setGeometry(m_skin.position.toQRect());
    layout();
}

void CStreamViewCtrl::SetModel(CRingtoneModel* model) {
    m_model = model;
    m_editor.setModel(model);
}

// Layout and drawing.

void CStreamViewCtrl::resizeEvent(QResizeEvent*) {
    layout();
}

void CStreamViewCtrl::layout() {
    const int margin = m_skin.margin.width();
    const int right = width() - margin;
    m_progress.setRect(margin, m_skin.yMarkRectTop, right, m_skin.yMarkRectBottom);
    m_progress.setPositionArea(
        ViewRect{margin, m_skin.sliderRange.top, right, m_skin.sliderRange.bottom});
    invalidate();
}

void CStreamViewCtrl::invalidate() {
    m_dirty = true;
    update();
}

void CStreamViewCtrl::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    const QSize size = this->size();
    const bool resized = m_canvas.size() != size * ratio || m_canvas.devicePixelRatio() != ratio;
    if (m_dirty || resized) {
        if (resized) {
            m_canvas = QPixmap(size * ratio);
            m_canvas.setDevicePixelRatio(ratio);
        }
        m_canvas.fill(Qt::black);
        QPainter canvas(&m_canvas);
        m_painter.paint(canvas, size, m_progress, m_empty ? nullptr : m_model);
        m_dirty = false;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_canvas);
    m_overlay = QRegion();
    if (!m_empty)
        m_overlay = m_painter.paintOverlay(painter, size.height(), m_progress);
}

void CStreamViewCtrl::moveCursor() {
    const QRegion before = m_overlay;
    const QRegion after = m_painter.overlayRegion(height(), m_progress);
    update(before.united(after));
}

void CStreamViewCtrl::notify() {
    setAccessibleDescription(describe());
    if (m_changeListener)
        m_changeListener();
}

QString CStreamViewCtrl::describe() const {
    if (m_empty || !m_model)
        return LoadString(IDS_VIEW_NO_INPUT);
    const auto time = [](qint64 ms) { return FormatTimeMs(DurationFromMs(ms)); };
    QString text =
        LoadString(IDS_VIEW_INPUT).arg(m_model->getInputName(), time(m_model->getDuration()));
    const CCutInfo& cut = m_model->getCut();
    if (cut.isValid())
        text += LoadString(IDS_VIEW_SELECTION)
                    .arg(time(cut.start()), time(cut.end()))
                    .arg(cut.fadeIn())
                    .arg(cut.fadeOut());
    else
        text += LoadString(IDS_VIEW_NO_SELECTION);
    return text + LoadString(IDS_VIEW_POSITION).arg(time(m_progress.getPosition()));
}

void CStreamViewCtrl::showMessage(int id) {
    IRingtoneModelOwner* owner = m_model ? m_model->getOwner() : nullptr;
    if (!owner)
        return;
    if (id == IDS_RINGTONE_TOO_LONG)
        ShowErrorMessageId(owner->Messages(), id, int(CCutInfo::kMaxLength / 1000));
    else
        ShowErrorMessageId(owner->Messages(), id);
}

// Refresh and the timer.

void CStreamViewCtrl::refresh(bool reset, bool follow) {
    const qint64 length = m_model ? m_model->getDuration() : 0;
    m_empty = length <= 0;
    const bool wasZoomed = m_progress.isZoomed();
    if (m_empty || reset)
        m_editor.clearPending();
    m_progress.setSaved(qint32(length), reset);
    const qint64 position = m_progress.getPosition();
    if (position == 0 || !m_progress.isInVisible(position))
        m_progress.setPosition((m_progress.visibleBegin() + m_progress.visibleEnd()) / 2);
    const CCutInfo cut = m_model ? m_model->getCut() : CCutInfo();
    m_progress.setSelection(cut);
    m_progress.setEmpty(m_empty);
    m_editor.follow(cut.isValid());
    if (follow && !wasZoomed)
        m_progress.zoomAll(); // re-places the position's column
    if (reset || m_empty)
        m_history->reset(cut);
    updateTimerInterval();
    invalidate();
    if (m_drag != Drag::Moving && m_drag != Drag::Edge)
        notify();
}

void CStreamViewCtrl::updateTimerInterval() {
    const qint64 span = m_progress.visibleEnd() - m_progress.visibleBegin();
    if (span == m_lastSpan)
        return;
    m_lastSpan = span;
    m_timerInterval = span / 1000 > kMinTimerInterval ? int(span / 1000) : kMinTimerInterval;
    if (m_model)
        m_model->setViewTimerInterval(m_timerInterval);
    m_timer.start(m_timerInterval);
}

bool CStreamViewCtrl::advancePlayback() {
    const qint64 now = m_clock.elapsed();
    const qint64 elapsed = now - m_playStartTick;
    m_playStartTick += elapsed;
    const bool moved = m_progress.ensureVisible(m_progress.getPosition() + elapsed);
    if (moved)
        invalidate();
    else
        moveCursor();
    return moved;
}

void CStreamViewCtrl::GetButtonState(ButtonState& state) const {
    const qint64 pos = m_progress.getPosition();
    state[ButtonState::PosAtBegin] = pos == m_progress.streamBegin();
    state[ButtonState::PosAtEnd] = pos >= m_progress.streamEnd() - 1;
    state[ButtonState::CanSetStart] = !m_empty && m_editor.canSetStart(pos);
    state[ButtonState::CanSetEnd] = !m_empty && m_editor.canSetEnd(pos);
    state[ButtonState::CanZoomIn] = m_progress.canZoomIn();
    state[ButtonState::IsZoomed] = m_progress.isZoomed();
}

// Commands.

void CStreamViewCtrl::onCommand(int id) {
    switch (id) {
    case CmdZoomIn:
    case CmdZoomOut:
        zoom(id == CmdZoomIn);
        break;
    case CmdPlay:
        play();
        break;
    case CmdPlayRingtone:
        playRingtone();
        break;
    case CmdStop:
        stop();
        break;
    case CmdSetStart:
    case CmdSetEnd:
    case CmdFadeIn:
    case CmdFadeOut:
    case CmdRemoveFades:
        editSelection(id);
        break;
    case CmdScrollLeft:
    case CmdScrollRight:
        scrollBy(id);
        break;
    case CmdSuggest:
        suggest();
        break;
    case CmdGainOne:
    case CmdGainNormalized:
        m_normalizedGain = id == CmdGainNormalized;
        notify();
        break;
    default:
        break;
    }
}

void CStreamViewCtrl::zoom(bool in) {
    if (in)
        m_progress.zoomIn();
    else
        m_progress.zoomOut(); // both put the position's column in step
    invalidate();
    updateTimerInterval();
    notify();
}

void CStreamViewCtrl::scrollBy(int command) {
    const int at = command == CmdScrollLeft ? CStreamProgressCtrl::kScrollLeftPoint
                                            : CStreamProgressCtrl::kScrollRightPoint;
    m_progress.hitScroll(at, at);
    if (IsPlaying()) {
        stop();
        if (m_progress.getPosition() < m_progress.streamEnd() - 1)
            play();
    }
    invalidate();
    notify();
}

void CStreamViewCtrl::editSelection(int id) {
    if (!m_model || m_empty)
        return;
    const qint64 pos = m_progress.getPosition();
    if (id == CmdSetStart || id == CmdSetEnd) {
        if (id == CmdSetStart)
            m_editor.setStart(pos);
        else
            m_editor.setEnd(pos, [this] { stop(); });
        refresh(false, false);
    } else if (m_editor.setFade(id, pos)) {
        selectionEdited();
        notify();
    }
    recordHistory();
}

void CStreamViewCtrl::suggest() {
    if (!m_model || m_empty || m_model->isRecording())
        return;
    stop();
    IRingtoneModelOwner* owner = m_model->getOwner();
    const std::unique_ptr<IOpProgress> progress =
        owner ? owner->CreateProgress(IDS_FINDING_SUGGESTION) : std::make_unique<IOpProgress>();
    progress->Show(true);
    const int result = m_model->suggestSelection(CRingtoneModel::kSuggestedLength, *progress);
    progress->Show(false);
    if (result == OpFailed)
        showMessage(IDS_NO_SUGGESTION);
    if (result != OpSuccess)
        return;
    showPosition(m_model->getCut().start());
    refresh(false, false);
    recordHistory();
}

void CStreamViewCtrl::showPosition(qint64 t) {
    if (!m_progress.isInVisible(t))
        m_progress.scroll(t - m_progress.getPosition());
    m_progress.setPosition(t);
}

void CStreamViewCtrl::selectionEdited() {
    m_progress.setSelection(m_model->getCut());
    invalidate();
}

// Playback.

bool CStreamViewCtrl::IsPlaying() const {
    std::lock_guard lock(m_lock);
    return m_playing;
}

double CStreamViewCtrl::playGain(bool ringtone) const {
    if (!m_normalizedGain)
        return 1.0;
    double gain = m_model->getNormalizationGain();
    IOpProgress quiet;
    if (ringtone && m_model->ringtoneGain(quiet, gain) != OpSuccess)
        gain = m_model->getNormalizationGain(); // the work WAV failed: the player will say so
    return gain;
}

bool CStreamViewCtrl::startPlayer(const QString& file, qint64 start, qint64 end,
                                  const CCutInfo& cut, bool ringtone) {
    m_player->setGain(playGain(ringtone));
    m_playStartTick = m_clock.elapsed();
    m_playEnd = end;
    quint64 run = 0;
    {
        std::lock_guard lock(m_lock);
        m_playing = true;
        m_playingRingtone = ringtone;
        run = ++m_run;
    }
    // The player is started outside the lock: a run that ends at once finds the flag set.
    const bool started = m_player->play(file, start, end, cut);
    if (!started) {
        std::lock_guard lock(m_lock);
        if (m_run == run)
            m_playing = m_playingRingtone = false;
    }
    return started;
}

void CStreamViewCtrl::play() {
    if (IsPlaying() || m_empty || !m_model)
        return;
    if (m_progress.getPosition() >= m_progress.streamEnd() - 1) {
        m_progress.goToBegin();
        m_progress.setPosition(m_progress.streamBegin());
    }
    startPlayer(m_model->getWavFileName(), m_progress.getPosition(), m_model->getDuration(),
                m_model->getCut(), false);
    invalidate();
    notify();
}

void CStreamViewCtrl::playRingtone() {
    if (IsPlaying())
        stop();
    if (m_model && !m_empty && m_model->getCut().isValid()) {
        const CCutInfo cut = m_model->getCut();
        showPosition(cut.start());
        startPlayer(m_model->getWavFileName(), cut.start(), cut.end(), cut, true);
    }
    invalidate();
    notify();
}

void CStreamViewCtrl::stop() {
    bool wasPlaying = false;
    {
        std::lock_guard lock(m_lock);
        ++m_run; // a finished run that has not been handled yet is dropped
        wasPlaying = m_playing;
        m_playing = m_playingRingtone = false;
    }
    if (!wasPlaying)
        return;
    m_player->stop();
    if (!m_seamFile.isEmpty()) {
        QFile::remove(m_seamFile);
        m_seamFile.clear();
    }
    invalidate();
    notify();
}

void CStreamViewCtrl::onPlayFinished(bool error) {
    std::lock_guard lock(m_lock);
    if (!m_playing)
        return;
    const bool ringtone = m_playingRingtone;
    m_playing = m_playingRingtone = false;
    m_finished = Finished{m_run, error, ringtone};
    QMetaObject::invokeMethod(this, "playFinished", Qt::QueuedConnection);
}

void CStreamViewCtrl::playFinished() {
    Finished finished{};
    {
        std::lock_guard lock(m_lock);
        if (!m_finished || m_finished->run != m_run)
            return; // stopped or started again since
        finished = *m_finished;
        m_finished.reset();
    }
    const bool error = finished.error;
    const bool ringtone = finished.ringtone;
    if (!m_seamFile.isEmpty()) {
        QFile::remove(m_seamFile);
        m_seamFile.clear();
    } else if (!error) {
        m_progress.ensureVisible(m_playEnd);
    }
    invalidate();
    notify();
    if (error)
        showMessage(IDS_ERROR_STARTING_PLAYING);
    else if (ringtone)
        onCommand(CmdPlayRingtone);
}

void CStreamViewCtrl::playLoopSeam() {
    if (!m_model || m_empty || !m_model->getCut().isValid())
        return;
    stop();
    const QString file = CRingtoneModel::workBaseName() + QStringLiteral(".seam.wav");
    if (!MakeLoopSeamWav(m_model->getWavFileName(), m_model->getCut(), file, playGain(true))) {
        QFile::remove(file);
        return;
    }
    m_seamFile = file;
    const CCutInfo none; // the seam carries its fades and gain already
    if (!startPlayer(file, 0, 2 * CLoopSeam::sideLength(m_model->getCut()), none, false)) {
        QFile::remove(file);
        m_seamFile.clear();
    }
    notify();
}

// The mouse.

void CStreamViewCtrl::hover(QPoint at) {
    m_pointer = at;
    m_overEdge = m_overSelection = false;
    if (m_progress.model().contains(at.x(), at.y())) {
        if (m_progress.hasSelection()) {
            const CCutInfo& cut = m_model->getCut();
            const auto box = m_progress.getSelectionPixels();
            const qint64 t = m_progress.pixelToTime(at.x());
            if (box && std::abs(at.x() - box->left) < kEdgeGrip) {
                m_overEdge = m_edgeIsStart = true;
            } else if (box && std::abs(at.x() - box->right) < kEdgeGrip) {
                m_overEdge = true;
                m_edgeIsStart = false;
            } else if (m_progress.isInVisible(cut.start()) && m_progress.isInVisible(cut.end()) &&
                       t >= cut.start() && t <= cut.end()) {
                m_overSelection = true;
            }
        }
        setCursor(m_overEdge ? m_cursorEdge : m_overSelection ? m_cursorMove : m_cursorArea);
    } else if (m_progress.positionArea().contains(at.x(), at.y())) {
        setCursor(m_cursorPositionArea);
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

void CStreamViewCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_empty || !m_model || m_drag != Drag::None)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    hover(at);
    const int hit = m_progress.onLButtonDown(at.x(), at.y());
    if (hit != CStreamProgressCtrl::HitNothing && hit != CStreamProgressCtrl::HitPan) {
        if (IsPlaying()) {
            stop();
            play();
        }
        invalidate();
        notify();
        return;
    }
    if (hit != CStreamProgressCtrl::HitPan)
        return;
    m_modified = false;
    const bool playing = IsPlaying();
    if (playing || !m_progress.hasSelection()) {
        if (playing) {
            stop();
            m_resumeAfterDrag = true;
        }
        m_drag = Drag::Panning;
        setCursor(m_cursorGrab);
    } else if (m_overEdge) {
        const CCutInfo& cut = m_model->getCut();
        m_drag = Drag::Edge;
        m_savedCut = cut;
        m_edgeLower = std::max(m_progress.streamBegin(), cut.end() - CCutInfo::kMaxLength);
        m_edgeUpper = std::min(m_progress.streamEnd(), cut.start() + CCutInfo::kMaxLength);
        setCursor(m_cursorEdge);
    } else if (m_overSelection) {
        m_drag = Drag::Moving;
        m_savedCut = m_model->getCut();
        m_moveOffset = m_progress.pixelToTime(at.x()) - m_savedCut.start();
        setCursor(m_cursorMoving);
    } else {
        m_drag = Drag::Panning;
        setCursor(m_cursorGrab);
    }
    invalidate();
    notify();
}

void CStreamViewCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_empty || !m_model || m_model->getState() != CRingtoneModel::State::Idle)
        return;
    const QPoint at = event->position().toPoint();
    if (m_drag == Drag::None) {
        hover(at);
    } else if (!(event->buttons() & Qt::LeftButton)) {
        endDrag(false); // the button went up where the view did not see it
    } else {
        m_pointer = at;
        dragTo(at);
    }
}

void CStreamViewCtrl::dragTo(QPoint at) {
    CCutInfo& cut = m_model->cut();
    if (m_drag == Drag::Moving) {
        const qint64 length = m_savedCut.length();
        qint64 start = m_progress.pixelToTime(at.x()) - m_moveOffset;
        if (start < m_progress.streamBegin())
            start = m_progress.streamBegin();
        else if (start + length > m_progress.streamEnd())
            start = m_progress.streamEnd() - length;
        if (start < m_progress.streamBegin() || start == cut.start())
            return;
        // The side that grows first, so the fades never have to yield.
        cut = m_savedCut;
        if (start > m_savedCut.start()) {
            cut.setEnd(start + length);
            cut.setStart(start);
        } else {
            cut.setStart(start);
            cut.setEnd(start + length);
        }
    } else if (m_drag == Drag::Edge) {
        qint64 t = m_progress.pixelToTime(at.x());
        if (m_edgeIsStart) {
            t = std::min(t, cut.end());
            t = m_editor.limitStart(std::max(m_editor.edge(t), m_edgeLower), false);
            if (t == cut.start())
                return;
            cut.setStart(t);
        } else {
            t = std::max(t, cut.start());
            t = m_editor.limitEnd(std::min(m_editor.edge(t), m_edgeUpper), false);
            if (t == cut.end())
                return;
            cut.setEnd(t);
        }
    } else {
        if (m_progress.onMouseMove(at.x(), at.y()))
            invalidate();
        return;
    }
    m_modified = true;
    selectionEdited();
}

void CStreamViewCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return; // the right button is ignored
    m_pointer = event->position().toPoint();
    endDrag(false);
}

void CStreamViewCtrl::endDrag(bool cancelled) {
    if (m_drag == Drag::None)
        return;
    const bool selectionDrag = m_drag == Drag::Moving || m_drag == Drag::Edge;
    if (selectionDrag && cancelled && m_modified)
        m_model->cut() = m_savedCut;
    m_progress.onLButtonUp();
    m_drag = Drag::None;
    if (m_modified && m_model->getCut().isValid()) {
        if (!cancelled)
            m_model->cutChanged();
        refresh(false, false);
        recordHistory();
    }
    m_modified = false;
    hover(m_pointer);
    if (m_resumeAfterDrag) {
        m_resumeAfterDrag = false;
        play();
    }
    invalidate();
    notify();
}

void CStreamViewCtrl::wheelEvent(QWheelEvent* event) {
    if (m_empty || IsPlaying())
        return;
    const qint64 shift =
        event->angleDelta().y() < 1 ? m_progress.scrollRight(25) : m_progress.scrollLeft(25);
    m_progress.setPosition(m_progress.getPosition() + shift);
    invalidate();
    notify();
}

void CStreamViewCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_empty || IsPlaying())
        return;
    const QPoint at = event->position().toPoint();
    if (m_progress.onLButtonDblClk(at.x(), at.y()) != 0) {
        invalidate();
        notify();
    }
}

// Keys.

void CStreamViewCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && (m_drag == Drag::Moving || m_drag == Drag::Edge)) {
        endDrag(true);
        return;
    }
    if (m_empty || !m_model || m_drag != Drag::None || !editByKey(event))
        QWidget::keyPressEvent(event);
}

bool CStreamViewCtrl::editByKey(QKeyEvent* event) {
    const ConfigFile& config = GetConfig();
    if (config.GetUndoSelectionEdits()) {
        if (event->matches(QKeySequence::Undo)) {
            undoRedo(false);
            return true;
        }
        if (event->matches(QKeySequence::Redo) ||
            (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier) ||
            (event->key() == Qt::Key_Z &&
             event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))) {
            undoRedo(true);
            return true;
        }
    }
    if (event->key() == Qt::Key_L && event->modifiers() == Qt::NoModifier &&
        config.GetLoopSeamPreview()) {
        playLoopSeam();
        return true;
    }
    if (!config.GetKeyboardEditing())
        return false;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const qint64 pos = m_progress.getPosition();
    const int columns =
        std::max(1, m_progress.model().pixelRect().right - m_progress.model().pixelRect().left);
    const qint64 column =
        std::max<qint64>(1, (m_progress.visibleEnd() - m_progress.visibleBegin()) / columns);
    switch (event->key()) {
    case Qt::Key_BracketLeft:
        onCommand(CmdSetStart);
        return true;
    case Qt::Key_BracketRight:
        onCommand(CmdSetEnd);
        return true;
    case Qt::Key_S:
        if (event->modifiers() != Qt::NoModifier)
            return false;
        onCommand(CmdSuggest);
        return true;
    case Qt::Key_Left:
        stepPosition(pos - (shift ? kKeyStepLong : column));
        return true;
    case Qt::Key_Right:
        stepPosition(pos + (shift ? kKeyStepLong : column));
        return true;
    case Qt::Key_Home:
        stepPosition(m_progress.visibleBegin());
        return true;
    case Qt::Key_End:
        stepPosition(m_progress.visibleEnd() - 1);
        return true;
    default:
        return false;
    }
}

void CStreamViewCtrl::stepPosition(qint64 to) {
    to = std::clamp(to, m_progress.streamBegin(), m_progress.streamEnd() - 1);
    m_progress.ensureVisible(to);
    invalidate();
    notify();
}

void CStreamViewCtrl::recordHistory() {
    if (m_model)
        m_history->record(m_model->getCut());
}

void CStreamViewCtrl::undoRedo(bool redo) {
    const std::optional<CCutInfo> cut = redo ? m_history->redo() : m_history->undo();
    if (!cut)
        return;
    m_model->cut() = *cut;
    m_model->cutChanged();
    refresh(false, false);
}

qint64 CStreamViewCtrl::snap(qint64 t) const {
    if (!m_model || !GetConfig().GetSnapToZeroCrossing())
        return t;
    return FindRisingZeroCrossing(m_model->getWavFileName(), t, kSnapReach).value_or(t);
}
