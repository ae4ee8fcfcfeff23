#include "HttpReply.h"

#include <charconv>

namespace {

// A whole decimal number, or false.
bool Number(std::string_view text, uint64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

} // namespace

void CHttpReply::applyRange(const std::string& range) {
    constexpr std::string_view kUnit = "bytes=";
    if (status != 200 || stream || range.compare(0, kUnit.size(), kUnit) != 0 ||
        range.find(',') != std::string::npos)
        return;
    const std::string_view spec = std::string_view(range).substr(kUnit.size());
    const size_t dash = spec.find('-');
    if (dash == std::string_view::npos)
        return;
    const uint64_t size = body.size();
    uint64_t first = 0, last = size == 0 ? 0 : size - 1;
    const std::string_view from = spec.substr(0, dash), to = spec.substr(dash + 1);
    if (from.empty()) { // the last N bytes
        uint64_t count = 0;
        if (!Number(to, count))
            return;
        first = count >= size ? 0 : size - count;
    } else {
        if (!Number(from, first) || (!to.empty() && !Number(to, last)))
            return;
        last = std::min(last, size == 0 ? 0 : size - 1);
    }
    if (size == 0 || first >= size || first > last) {
        status = 416;
        body.clear();
        setHeader("Content-Range", "bytes */" + std::to_string(size));
        return;
    }
    status = 206;
    setHeader("Content-Range", "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" +
                                   std::to_string(size));
    body = body.substr(first, last - first + 1);
}
