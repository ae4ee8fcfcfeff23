// The digest the upload answer reports for a stored ringtone.
#pragma once

#include <string>
#include <string_view>

class CDigest {
public:
    // The MD5 of the bytes as 32 lower-case hexadecimal digits.
    static std::string md5Hex(std::string_view bytes);
};
