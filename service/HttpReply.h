// What a handler answers: a status, header fields and a body, or a body streamed over time.
#pragma once

#include "HttpStream.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct CHttpReply {
    int status = 200;
    std::string contentType;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    // When set, the body is sent in chunks as the stream writes it; body is not used.
    std::shared_ptr<IHttpStream> stream;
    // The connection closes after this reply.
    bool close = false;

    // The body and its Content-Type.
    void setContent(std::string content, std::string type) {
        body = std::move(content);
        contentType = std::move(type);
    }
    // Adds a header field (the server writes Content-Type, Content-Length and Connection).
    void setHeader(std::string name, std::string value) {
        headers.emplace_back(std::move(name), std::move(value));
    }
    // A redirect to the location with the status (a 3xx).
    void redirect(std::string location, int redirectStatus) {
        status = redirectStatus;
        setHeader("Location", std::move(location));
    }
    // Serves only the part of a 200 body that a "Range: bytes=..." field asks for (206), or 416
    // when the range lies outside; other forms of the field, several ranges among them, leave
    // the whole body.
    void applyRange(const std::string& range);
};
