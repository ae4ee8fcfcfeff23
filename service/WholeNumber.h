// Reading a whole decimal number from text: options, store records, form fields, ranges.
#pragma once

#include <charconv>
#include <string_view>

// True when the whole text is a decimal number that fits value; value is then set.
template <typename T> bool WholeNumber(std::string_view text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}
