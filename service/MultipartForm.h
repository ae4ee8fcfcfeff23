// The parts of an uploaded multipart form, gathered as the HTTP library's reader hands them over.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Keeps at most limit bytes of content over all parts; the size of every part is counted in
// full, so a part that was too large to keep is still known by its size.
class CMultipartForm {
public:
    struct Part {
        std::string name;
        std::string fileName;
        std::string content;
        uint64_t size = 0;
    };

    explicit CMultipartForm(uint64_t limit) : m_limit(limit) {}

    // A new part begins; its content follows through append.
    void beginPart(const std::string& name, const std::string& fileName);
    void append(const char* data, size_t size);

    // The first part with the name, or null.
    const Part* part(std::string_view name) const;
    // True when some content was not kept.
    bool overflowed() const { return m_overflowed; }

private:
    uint64_t m_limit;
    uint64_t m_kept = 0;
    bool m_overflowed = false;
    std::vector<Part> m_parts;
};
