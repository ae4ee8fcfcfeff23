// Where a recording session reports to: the main window, which hands the reports to the model on
// its own thread, or the command-line tool.
#pragma once

#include <QString>
#include <cstdint>

// Called on the session's worker threads (or, for the last time report, on the thread that ends
// the session): an implementation only passes the reports on, it never calls back into the
// session from inside them.
class IRecordingReceiver {
public:
    virtual ~IRecordingReceiver() = default;
    // The recording has grown to milliseconds.
    virtual void RecordedTime(int64_t milliseconds) = 0;
    // The session has to end: message says why (empty when it reached its maximum length and
    // the recording is kept).
    virtual void RecordingEnded(const QString& message) = 0;
};
