// Undo and redo of the ringtone selection: one snapshot per completed edit, a bounded depth.
#pragma once

#include "encode/CutInfo.h"

#include <deque>
#include <optional>

// Keeps the selection as it stands and the ones before and after it; a new edit drops the redo.
class CSelectionHistory {
public:
    static constexpr size_t kDefaultDepth = 100;

    // Keeps at most depth steps to undo (at least 1); the oldest go first.
    explicit CSelectionHistory(size_t depth = kDefaultDepth);

    // Forgets every step; current is the selection as it stands (a new input, say).
    void reset(const CCutInfo& current);
    // A completed edit left the selection as after: the one before becomes a step to undo and
    // nothing is left to redo. An edit that changed nothing adds no step.
    void record(const CCutInfo& after);
    // The selection before the last edit, which becomes the current one; none when there is none.
    std::optional<CCutInfo> undo();
    // The selection the last undo went back from; none when there is none.
    std::optional<CCutInfo> redo();
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    const CCutInfo& current() const { return m_current; }

private:
    size_t m_depth;
    CCutInfo m_current;
    std::deque<CCutInfo> m_undo; // oldest first
    std::deque<CCutInfo> m_redo; // next redo last
};
