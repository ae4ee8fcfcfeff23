#include "ServiceLog.h"

#include <ctime>

void CServiceLog::line(const std::string& text) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", &local);
    plain(stamp + text);
}

void CServiceLog::plain(const std::string& text) {
    std::lock_guard lock(m_mutex);
    std::fputs(text.c_str(), m_out);
    std::fputc('\n', m_out);
    std::fflush(m_out);
}
