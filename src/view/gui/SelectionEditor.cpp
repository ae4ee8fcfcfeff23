// The selection commands of the stream view.
#include "view/gui/SelectionEditor.h"

#include "app/StringIds.h"
#include "view/StreamProgressCtrl.h"
#include "workflow/RingtoneModel.h"

CSelectionEditor::CSelectionEditor(CStreamProgressCtrl& progress, ShowMessage showMessage)
    : m_progress(progress), m_showMessage(std::move(showMessage)) {}

void CSelectionEditor::follow(bool hasSelection) {
    if (m_state == State::None && hasSelection)
        m_state = State::Selection;
    else if (m_state == State::Selection && !hasSelection)
        m_state = State::None;
}

bool CSelectionEditor::inside(qint64 pos) const {
    return m_model && m_model->getCutAt(pos) != nullptr;
}

bool CSelectionEditor::intersectsVisible() const {
    const CCutInfo& cut = m_model->getCut();
    return cut.end() > m_progress.visibleBegin() && cut.start() < m_progress.visibleEnd();
}

qint64 CSelectionEditor::limitLength(qint64 pos, qint64 anchor, int side, bool messages) const {
    const qint64 length = (anchor - pos) * side;
    int message = 0;
    if (length > CCutInfo::kMaxLength) {
        pos = anchor - side * CCutInfo::kMaxLength;
        message = IDS_RINGTONE_TOO_LONG;
    } else if (length < CCutInfo::kMinLength) {
        pos = anchor - side * CCutInfo::kMinLength;
        message = IDS_RINGTONE_TOO_SHORT;
    }
    if (messages && message)
        m_showMessage(message);
    return pos;
}

qint64 CSelectionEditor::limitStart(qint64 pos, bool messages) const {
    return limitLength(pos, m_model->getCut().end(), 1, messages);
}

qint64 CSelectionEditor::limitEnd(qint64 pos, bool messages) const {
    return limitLength(pos, m_model->getCut().start(), -1, messages);
}

void CSelectionEditor::applyStart(qint64 pos) {
    if (pos == m_model->getCut().start())
        return;
    m_model->cut().setStart(pos);
    m_model->cutChanged();
}

void CSelectionEditor::applyEnd(qint64 pos) {
    if (pos == m_model->getCut().end())
        return;
    m_model->cut().setEnd(pos);
    m_model->cutChanged();
}

bool CSelectionEditor::setStart(qint64 pos) {
    if (!m_model)
        return false;
    pos = edge(pos);
    if (m_state != State::Selection) {
        if (inside(pos))
            return false;
        m_pendingStart = pos;
        if (pos + CCutInfo::kMinLength > m_model->getDuration())
            return false;
        m_progress.savePosition();
        m_progress.setShowSavedPosition(true);
        m_model->clearCut();
        m_state = State::Pending;
        return true;
    }
    const CCutInfo& cut = m_model->getCut();
    if (inside(pos) || (intersectsVisible() && pos < cut.start())) {
        applyStart(limitStart(pos, true));
    } else if (!intersectsVisible()) {
        const qint64 length = cut.length();
        m_model->cut().setStart(pos);
        m_model->cut().setEnd(std::min(pos + length, m_model->getDuration()));
        m_model->cutChanged();
    } else {
        return false;
    }
    return true;
}

bool CSelectionEditor::setEnd(qint64 pos, const std::function<void()>& stopPlayback) {
    if (!m_model)
        return false;
    pos = edge(pos);
    if (m_state == State::Pending && !inside(pos)) {
        stopPlayback();
        m_progress.setShowSavedPosition(false);
        m_pendingEnd = pos;
        qint64 start = std::min(m_pendingStart, m_pendingEnd);
        qint64 end = std::max(m_pendingStart, m_pendingEnd);
        if (end - start < CCutInfo::kMinLength) {
            m_showMessage(IDS_RINGTONE_TOO_SHORT);
        } else {
            if (end - start > CCutInfo::kMaxLength) {
                end = start + CCutInfo::kMaxLength;
                m_showMessage(IDS_RINGTONE_TOO_LONG);
            }
            m_model->setCut(start, end);
        }
        m_state = State::None;
        return true;
    }
    if (m_state == State::Selection && (inside(pos) || pos > m_model->getCut().start())) {
        applyEnd(limitEnd(pos, true));
        return true;
    }
    return false;
}

bool CSelectionEditor::setFade(int command, qint64 pos) {
    if (!inside(pos))
        return false;
    CCutInfo& cut = m_model->cut();
    if (command == 41) {
        cut.setFadeInEnd(pos);
    } else if (command == 42) {
        cut.setFadeOutBegin(pos);
    } else {
        cut.setFadeIn(0);
        cut.setFadeOut(0);
    }
    m_model->cutChanged();
    return true;
}

bool CSelectionEditor::canSetStart(qint64 pos) const {
    if (!m_model)
        return false;
    const bool startMode1 = pos + CCutInfo::kMinLength <= m_model->getDuration();
    if (m_state != State::Selection)
        return !inside(pos) && startMode1;
    const CCutInfo& cut = m_model->getCut();
    const bool visible = intersectsVisible();
    if (inside(pos) || (visible && pos < cut.start()))
        return limitStart(pos, false) != cut.start();
    return !visible && startMode1;
}

bool CSelectionEditor::canSetEnd(qint64 pos) const {
    if (!m_model)
        return false;
    if (m_state == State::Pending)
        return !inside(pos) && pos - m_pendingStart > CCutInfo::kMinLength;
    if (m_state != State::Selection)
        return false;
    const CCutInfo& cut = m_model->getCut();
    if (!intersectsVisible() || !(inside(pos) || pos > cut.start()))
        return false;
    return limitEnd(pos, false) != cut.end();
}
