// The parts of an uploaded multipart form, read from the whole request body.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The parts point into the body they were read from, which must outlive the form.
class CMultipartForm {
public:
    struct Part {
        std::string name;
        std::string fileName;
        std::string_view content;
    };

    // True when the Content-Type field names a multipart form.
    static bool isMultipart(std::string_view contentType);
    // Reads the parts of the body by the boundary of contentType; false when the body is not a
    // complete form (no boundary, a part without its end).
    bool parse(std::string_view contentType, std::string_view body);

    // The first part with the name, or null.
    const Part* part(std::string_view name) const;

private:
    std::vector<Part> m_parts;
};
