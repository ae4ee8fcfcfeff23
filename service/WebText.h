// Text helpers of the pages: HTML escaping, address parts, and readable sizes, times and names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CWebText {
public:
    // The text with &, <, >, " and ' replaced by their character references.
    static std::string escapeHtml(std::string_view text);
    // The text with every byte outside A-Z a-z 0-9 - . _ ~ written as %XX.
    static std::string encodeUrl(std::string_view text);
    // The bytes as UTF-8: kept when they are valid UTF-8, else read as Latin-1 (the program
    // sends names in its 8-bit code page).
    static std::string toUtf8(std::string_view bytes);
    // A file name that needs no escaping in an address: ASCII letters, digits, "-", "." and
    // "_", every other character turned into "_".
    static std::string addressFileName(std::string_view name);
    // "12.3 KB", "1.2 MB", "512 bytes".
    static std::string formatSize(uint64_t bytes);
    // "0:07.5" (minutes, seconds and tenths).
    static std::string formatDuration(int64_t ms);
    // Local "YYYY-MM-DD HH:MM".
    static std::string formatTime(int64_t secondsSince1970);
};
