// One HTTP request as the service's handlers see it: the address, header fields, parameters and
// the body read in full.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct CHttpRequest {
    using Fields = std::vector<std::pair<std::string, std::string>>;

    std::string method;
    std::string target; // as sent: path and query
    std::string path;   // the target's path, percent-decoded
    std::string query;  // the text after the first "?", as sent
    Fields headers;
    std::string body;
    // The body was larger than the server reads; it was not read.
    bool bodyRefused = false;
    // The groups of the route's pattern, the whole path first.
    std::vector<std::string> matches;
    // The query's parameters, then those of a URL-encoded form body; names and values decoded.
    Fields params;
    std::string remoteAddress;
    int remotePort = 0;
    std::string localAddress;
    int localPort = 0;

    // The value of the first header field of the name (any case); "" when there is none.
    std::string header(std::string_view name) const;
    // The value of the first parameter of the name; "" when there is none.
    std::string param(std::string_view name) const;
    bool hasParam(std::string_view name) const;

    // Sets path, query and the query's params from target.
    void parseTarget();
    // Adds the params of a URL-encoded form body (by the Content-Type field).
    void parseBody();
    // True when text begins with prefix, in any case.
    static bool startsWithAnyCase(std::string_view text, std::string_view prefix);
    // The text with %XX decoded (and "+" read as a space when plusIsSpace).
    static std::string decode(std::string_view text, bool plusIsSpace);
    // "name=value&..." pairs, decoded, appended to fields.
    static void parseForm(std::string_view text, Fields& fields);
};
