// Phone numbers as the inbox keeps them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class CPhoneNumber {
public:
    // The number without spaces, dashes, dots and brackets, keeping a leading "+": 3 to 15
    // digits. Nothing when the text is not such a number.
    static std::optional<std::string> normalize(std::string_view text);
};
