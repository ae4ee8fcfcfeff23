#include "view/SelectionHistory.h"

#include <algorithm>

CSelectionHistory::CSelectionHistory(size_t depth) : m_depth(std::max<size_t>(depth, 1)) {}

void CSelectionHistory::reset(const CCutInfo& current) {
    m_current = current;
    m_undo.clear();
    m_redo.clear();
}

void CSelectionHistory::record(const CCutInfo& after) {
    if (after == m_current)
        return;
    m_undo.push_back(m_current);
    if (m_undo.size() > m_depth)
        m_undo.pop_front();
    m_redo.clear();
    m_current = after;
}

std::optional<CCutInfo> CSelectionHistory::undo() {
    if (m_undo.empty())
        return std::nullopt;
    m_redo.push_back(m_current);
    m_current = m_undo.back();
    m_undo.pop_back();
    return m_current;
}

std::optional<CCutInfo> CSelectionHistory::redo() {
    if (m_redo.empty())
        return std::nullopt;
    m_undo.push_back(m_current);
    m_current = m_redo.back();
    m_redo.pop_back();
    return m_current;
}
