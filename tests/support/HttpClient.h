// The HTTP client of the beaming tests over libcurl: plain requests, forms, a streamed answer.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <curl/curl.h>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The outcome of one request.
struct HttpReply {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::string body;
    std::map<std::string, std::string> headers; // names in lower case

    std::string header(const std::string& lowerName) const;
    // The body split into lines at LF, every CR dropped.
    std::vector<std::string> lines() const;
};

// Redirects are not followed, so a test sees them.
HttpReply HttpGet(const std::string& url);
HttpReply HttpPost(const std::string& url, const std::string& body,
                   const std::vector<std::string>& headers);
// A POST of an HTML form (application/x-www-form-urlencoded) with the fields.
HttpReply HttpPostForm(const std::string& url,
                       const std::vector<std::pair<std::string, std::string>>& fields);

// A GET read line by line on a thread of its own, as the program reads phase 2.
class CAnswerReader {
public:
    // acceptCompressed asks for a compressed answer, as a browser would.
    explicit CAnswerReader(const std::string& url, bool acceptCompressed = false);
    // Goes away like a client that closes its request, and waits for the thread.
    ~CAnswerReader();
    CAnswerReader(const CAnswerReader&) = delete;
    CAnswerReader& operator=(const CAnswerReader&) = delete;

    // Waits until count complete lines have arrived (CR dropped); false when the bound passed.
    bool waitForLines(size_t count, std::chrono::milliseconds bound);
    // Waits until the answer has ended; false when the bound passed.
    bool waitForEnd(std::chrono::milliseconds bound);
    std::vector<std::string> lines() const;
    CURLcode result() const;

private:
    // Waits under the lock until done() holds; false when the bound passed.
    bool waitFor(std::chrono::milliseconds bound, const std::function<bool()>& done);
    static size_t Write(char* data, size_t size, size_t count, void* self);
    static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    std::atomic<bool> m_abort{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_received;
    bool m_ended = false;
    CURLcode m_result = CURLE_OK;
    std::thread m_thread;
};
