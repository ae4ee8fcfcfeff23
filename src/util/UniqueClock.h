// A local clock that never hands out the same time twice in one process, and names made from it.
#pragma once

#include "util/DateTimeValue.h"

#include <QString>

// The local time now, different from every earlier result in this process: callers in the same
// millisecond are served one after another, at least 1 ms apart. Safe to call from any thread.
DateTimeValue GetUniqueLocalTime();
// "yyyymmdd_hhmmss_mmm" of one unique local time.
QString UniqueTimeBasedName();
