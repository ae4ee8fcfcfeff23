// The HTTP client of the beaming tests.
#include "support/HttpClient.h"

#include <algorithm>
#include <cctype>

namespace {

size_t Append(char* data, size_t size, size_t count, void* text) {
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
}

std::vector<std::string> SplitLines(const std::string& text, bool keepPartial) {
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else if (c != '\r')
            lines.back().push_back(c);
    }
    if (!keepPartial || lines.back().empty())
        lines.pop_back();
    return lines;
}

HttpReply Perform(CURL* curl, const std::string& url, curl_slist* headers) {
    HttpReply reply;
    std::string head;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 60L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &head);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    reply.code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    for (const std::string& line : SplitLines(head, true)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string name = line.substr(0, colon);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        const size_t value = line.find_first_not_of(' ', colon + 1);
        reply.headers[name] = value == std::string::npos ? std::string() : line.substr(value);
    }
    return reply;
}

} // namespace

std::string HttpReply::header(const std::string& lowerName) const {
    const auto it = headers.find(lowerName);
    return it == headers.end() ? std::string() : it->second;
}

std::vector<std::string> HttpReply::lines() const {
    return SplitLines(body, true);
}

HttpReply HttpGet(const std::string& url) {
    return Perform(curl_easy_init(), url, nullptr);
}

HttpReply HttpPost(const std::string& url, const std::string& body,
                   const std::vector<std::string>& headers) {
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body.c_str());
    curl_slist* list = nullptr;
    for (const std::string& header : headers)
        list = curl_slist_append(list, header.c_str());
    return Perform(curl, url, list);
}

HttpReply HttpPostForm(const std::string& url,
                       const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string body;
    CURL* escaper = curl_easy_init();
    for (const auto& [name, value] : fields) {
        char* escaped = curl_easy_escape(escaper, value.c_str(), int(value.size()));
        body += (body.empty() ? "" : "&") + name + "=" + escaped;
        curl_free(escaped);
    }
    curl_easy_cleanup(escaper);
    return HttpPost(url, body, {"Content-Type: application/x-www-form-urlencoded"});
}

CAnswerReader::CAnswerReader(const std::string& url, bool acceptCompressed) {
    m_thread = std::thread([this, url, acceptCompressed] {
        CURL* curl = curl_easy_init();
        if (acceptCompressed)
            curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Write);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        const CURLcode result = curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        std::lock_guard lock(m_mutex);
        m_result = result;
        m_ended = true;
        m_changed.notify_all();
    });
}

CAnswerReader::~CAnswerReader() {
    m_abort = true;
    m_thread.join();
}

size_t CAnswerReader::Write(char* data, size_t size, size_t count, void* self) {
    auto& reader = *static_cast<CAnswerReader*>(self);
    std::lock_guard lock(reader.m_mutex);
    reader.m_received.append(data, size * count);
    reader.m_changed.notify_all();
    return size * count;
}

int CAnswerReader::Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<CAnswerReader*>(self)->m_abort ? 1 : 0;
}

bool CAnswerReader::waitFor(std::chrono::milliseconds bound, const std::function<bool()>& done) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, bound, done);
}

bool CAnswerReader::waitForLines(size_t count, std::chrono::milliseconds bound) {
    return waitFor(bound, [&] { return SplitLines(m_received, false).size() >= count; });
}

bool CAnswerReader::waitForEnd(std::chrono::milliseconds bound) {
    return waitFor(bound, [&] { return m_ended; });
}

std::vector<std::string> CAnswerReader::lines() const {
    std::lock_guard lock(m_mutex);
    return SplitLines(m_received, true);
}

CURLcode CAnswerReader::result() const {
    std::lock_guard lock(m_mutex);
    return m_result;
}
