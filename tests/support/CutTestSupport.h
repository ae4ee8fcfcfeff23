// The tests' way to make a ringtone selection: set through the record's own rules, then validated.
#pragma once

#include "encode/CutInfo.h"

namespace testsupport {

// A selection from start to end with the fades, validated.
inline CCutInfo Cut(qint64 start, qint64 end, qint32 fadeIn = 0, qint32 fadeOut = 0) {
    CCutInfo cut;
    cut.setStart(start);
    cut.setEnd(end);
    cut.setFadeIn(fadeIn);
    cut.setFadeOut(fadeOut);
    cut.validate();
    return cut;
}

} // namespace testsupport
