#include "HttpReply.h"

#include "WholeNumber.h"

#include <algorithm>

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
        if (!WholeNumber(to, count))
            return;
        first = count >= size ? 0 : size - count;
    } else {
        if (!WholeNumber(from, first) || (!to.empty() && !WholeNumber(to, last)))
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
