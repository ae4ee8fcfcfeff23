#include "HttpRequest.h"

#include <algorithm>
#include <strings.h>

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

const CHttpRequest::Fields::value_type* FindField(const CHttpRequest::Fields& fields,
                                                  std::string_view name, bool anyCase) {
    const auto it = std::find_if(fields.begin(), fields.end(), [&](const auto& field) {
        return anyCase ? SameName(field.first, name) : field.first == name;
    });
    return it == fields.end() ? nullptr : &*it;
}

} // namespace

std::string CHttpRequest::header(std::string_view name) const {
    const auto* field = FindField(headers, name, true);
    return field ? field->second : std::string();
}

std::string CHttpRequest::param(std::string_view name) const {
    const auto* field = FindField(params, name, false);
    return field ? field->second : std::string();
}

bool CHttpRequest::hasParam(std::string_view name) const {
    return FindField(params, name, false) != nullptr;
}

void CHttpRequest::parseTarget() {
    const size_t mark = target.find('?');
    path = decode(std::string_view(target).substr(0, mark), false);
    query = mark == std::string::npos ? std::string() : target.substr(mark + 1);
    params.clear();
    parseForm(query, params);
}

void CHttpRequest::parseBody() {
    const std::string type = header("Content-Type");
    if (startsWithAnyCase(type, "application/x-www-form-urlencoded"))
        parseForm(body, params);
}

bool CHttpRequest::startsWithAnyCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

std::string CHttpRequest::decode(std::string_view text, bool plusIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out += char(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += plusIsSpace && c == '+' ? ' ' : c;
        }
    }
    return out;
}

void CHttpRequest::parseForm(std::string_view text, Fields& fields) {
    while (!text.empty()) {
        const size_t end = std::min(text.find('&'), text.size());
        const std::string_view pair = text.substr(0, end);
        const size_t eq = pair.find('=');
        if (!pair.empty())
            fields.emplace_back(decode(pair.substr(0, eq), true),
                                eq == std::string_view::npos ? std::string()
                                                             : decode(pair.substr(eq + 1), true));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}
