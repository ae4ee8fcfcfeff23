// The recording progress of the tests.
#include "support/TestProgress.h"

#include "support/ServiceProcess.h"

#include <algorithm>

namespace testsupport {

void CTestProgress::SetPos(uint32_t done) {
    add("pos " + std::to_string(done));
    if (cancelAtPos > 0 && done >= uint32_t(cancelAtPos))
        cancel = true;
    if (onPos)
        onPos(done);
}

bool CTestProgress::IsCanceled() {
    const int call = asked++;
    if (cancel)
        return true;
    if (m_cancelAtText >= 0) {
        const std::vector<std::string> texts = calls("text ");
        return std::find(texts.begin(), texts.end(), "text " + std::to_string(m_cancelAtText)) !=
               texts.end();
    }
    return m_cancelAtCall >= 0 && call >= m_cancelAtCall;
}

bool CTestProgress::waitForCall(const std::string& call) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, CServiceProcess::kBound, [&] {
        return std::find(m_calls.begin(), m_calls.end(), call) != m_calls.end();
    });
}

void CTestProgress::clear() {
    const std::lock_guard lock(m_mutex);
    m_calls.clear();
}

std::vector<std::string> CTestProgress::calls(const std::string& prefix) const {
    const std::lock_guard lock(m_mutex);
    std::vector<std::string> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    return found;
}

std::vector<uint32_t> CTestProgress::numbers(const std::string& prefix) const {
    std::vector<uint32_t> values;
    for (const std::string& call : calls(prefix))
        values.push_back(uint32_t(std::stoul(call.substr(prefix.size()))));
    return values;
}

bool CTestProgress::shown() const {
    const std::vector<std::string> shows = calls("show ");
    return !shows.empty() && shows.back() == "show 1";
}

bool CTestProgress::positionsRise() const {
    const std::vector<uint32_t> done = positions();
    return std::is_sorted(done.begin(), done.end());
}

void CTestProgress::add(std::string call) {
    const std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
    m_changed.notify_all();
}

} // namespace testsupport
