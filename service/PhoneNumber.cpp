#include "PhoneNumber.h"

std::optional<std::string> CPhoneNumber::normalize(std::string_view text) {
    std::string number;
    int digits = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            number.push_back(c);
            ++digits;
        } else if (c == '+' && number.empty()) {
            number.push_back(c);
        } else if (c != ' ' && c != '-' && c != '.' && c != '(' && c != ')' && c != '\t') {
            return std::nullopt;
        }
    }
    if (digits < 3 || digits > 15)
        return std::nullopt;
    return number;
}
