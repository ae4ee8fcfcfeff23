#include "MultipartForm.h"

#include <algorithm>

void CMultipartForm::beginPart(const std::string& name, const std::string& fileName) {
    m_parts.push_back({name, fileName, {}, 0});
}

void CMultipartForm::append(const char* data, size_t size) {
    if (m_parts.empty())
        return;
    Part& part = m_parts.back();
    part.size += size;
    const uint64_t room = m_limit - m_kept;
    const size_t keep = size_t(std::min<uint64_t>(room, size));
    part.content.append(data, keep);
    m_kept += keep;
    if (keep < size)
        m_overflowed = true;
}

const CMultipartForm::Part* CMultipartForm::part(std::string_view name) const {
    const auto it =
        std::find_if(m_parts.begin(), m_parts.end(), [&](const Part& p) { return p.name == name; });
    return it == m_parts.end() ? nullptr : &*it;
}
