// A job on a thread of its own while the calling thread keeps serving its events.
#pragma once

#include <functional>

// Runs job on a new thread and serves this thread's events (a QEventLoop that the thread's end
// quits, when there is an application) until it ends. False, with the job not run, when no thread
// could be started (traced with what).
bool RunServingEvents(const std::function<void()>& job, const char* what);
