#include "TokenSource.h"

CTokenSource::CTokenSource() {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(), device(), device()};
    m_engine.seed(seed);
}

std::string CTokenSource::next(int digits) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string token;
    token.reserve(size_t(digits));
    std::lock_guard lock(m_mutex);
    while (int(token.size()) < digits) {
        uint64_t bits = m_engine();
        for (int i = 0; i < 16 && int(token.size()) < digits; ++i, bits >>= 4)
            token.push_back(kHex[bits & 15]);
    }
    return token;
}
