#include "WebText.h"

#include <cstdio>
#include <ctime>

std::string CWebText::escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::string CWebText::encodeUrl(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
            byte == '~') {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 15]);
        }
    }
    return out;
}

std::string CWebText::toUtf8(std::string_view bytes) {
    // Checks the bytes as UTF-8: lead bytes, continuation bytes, no overlong forms or surrogates.
    bool valid = true;
    for (size_t i = 0; i < bytes.size() && valid;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int more = 0;
        uint32_t code = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
            code = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            code = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            code = b & 0x07;
        } else {
            valid = false;
            break;
        }
        if (i + size_t(more) >= bytes.size()) {
            valid = false;
            break;
        }
        for (int k = 1; k <= more; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + size_t(k)]);
            if ((c & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (c & 0x3F);
        }
        if (valid && ((more == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
                      (more == 3 && (code < 0x10000 || code > 0x10FFFF))))
            valid = false;
        i += size_t(more) + 1;
    }
    if (valid)
        return std::string(bytes);
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(char(0xC0 | (b >> 6)));
            out.push_back(char(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

std::string CWebText::addressFileName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
        out.push_back(plain ? c : '_');
    }
    return out;
}

std::string CWebText::formatSize(uint64_t bytes) {
    char text[32];
    if (bytes < 1024)
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    else if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f KB", double(bytes) / 1024.0);
    else
        std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1024.0 * 1024.0));
    return text;
}

std::string CWebText::formatDuration(int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms / 100 % 10));
    return text;
}

std::string CWebText::formatTime(int64_t secondsSince1970) {
    const std::time_t when = std::time_t(secondsSince1970);
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}
