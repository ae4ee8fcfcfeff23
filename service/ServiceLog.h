// The service's log: one time-stamped line per request or event, safe to write from any thread.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

class CServiceLog {
public:
    explicit CServiceLog(std::FILE* out) : m_out(out) {}

    // Writes "YYYY-MM-DD HH:MM:SS text" and flushes, so a reader of a pipe sees it at once.
    void line(const std::string& text);
    // Writes text as it stands, without a time stamp.
    void plain(const std::string& text);

private:
    std::FILE* m_out;
    std::mutex m_mutex;
};
