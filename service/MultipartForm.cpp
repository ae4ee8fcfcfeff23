#include "MultipartForm.h"

#include "HttpRequest.h"

#include <algorithm>

namespace {

// The value of a parameter of a header field ("boundary=x", "name=\"x\""), or "".
std::string ParameterOf(std::string_view field, std::string_view name) {
    for (size_t at = 0; (at = field.find(name, at)) != std::string_view::npos; at += name.size()) {
        const bool start = at == 0 || field[at - 1] == ';' || field[at - 1] == ' ';
        if (!start || field.substr(at + name.size(), 1) != "=")
            continue;
        std::string_view value = field.substr(at + name.size() + 1);
        if (value.substr(0, 1) == "\"")
            return std::string(value.substr(1, value.find('"', 1) - 1));
        return std::string(value.substr(0, value.find_first_of("; \t")));
    }
    return {};
}

} // namespace

bool CMultipartForm::isMultipart(std::string_view contentType) {
    return CHttpRequest::startsWithAnyCase(contentType, "multipart/form-data");
}

bool CMultipartForm::parse(std::string_view contentType, std::string_view body) {
    const std::string boundary = ParameterOf(contentType, "boundary");
    if (!isMultipart(contentType) || boundary.empty())
        return false;
    const std::string delimiter = "\r\n--" + boundary;
    // The first delimiter may open the body; what comes before it is the preamble.
    const std::string_view first = std::string_view(delimiter).substr(2);
    size_t at = 0;
    if (body.starts_with(first))
        at = first.size();
    else if ((at = body.find(delimiter)) != std::string_view::npos)
        at += delimiter.size();
    else
        return false;
    while (true) {
        if (body.substr(at, 2) == "--")
            return true; // the closing delimiter
        const size_t headStart = body.find("\r\n", at);
        const size_t headEnd = body.find("\r\n\r\n", at);
        if (headStart == std::string_view::npos || headEnd == std::string_view::npos)
            return false;
        const size_t contentEnd = body.find(delimiter, headEnd + 4);
        if (contentEnd == std::string_view::npos)
            return false;
        Part part;
        const std::string_view head = body.substr(headStart, headEnd - headStart + 2);
        // Content-Disposition: form-data; name="..."; filename="..."
        for (size_t line = 0; line < head.size();) {
            const size_t end = std::min(head.find("\r\n", line), head.size());
            const std::string_view field = head.substr(line, end - line);
            if (CHttpRequest::startsWithAnyCase(field, "content-disposition:")) {
                part.name = ParameterOf(field, "name");
                part.fileName = ParameterOf(field, "filename");
            }
            line = end + 2;
        }
        part.content = body.substr(headEnd + 4, contentEnd - headEnd - 4);
        m_parts.push_back(std::move(part));
        at = contentEnd + delimiter.size();
    }
}

const CMultipartForm::Part* CMultipartForm::part(std::string_view name) const {
    const auto it =
        std::find_if(m_parts.begin(), m_parts.end(), [&](const Part& p) { return p.name == name; });
    return it == m_parts.end() ? nullptr : &*it;
}
